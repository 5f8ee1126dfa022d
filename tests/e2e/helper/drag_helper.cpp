// A drag source for the end-to-end tests: a small window titled "drag-helper" at the place
// given on the command line; a press in it drags the named files as a file manager does.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class Source : public QWidget {
public:
    explicit Source(QList<QUrl> urls) : urls_(std::move(urls)) {}

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(urls_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
        // The target asks for the names after the drop: stay to answer, as a file manager does.
        QTimer::singleShot(3000, [] { QCoreApplication::quit(); });
    }

private:
    QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) return 2;  // x y file...
    QList<QUrl> urls;
    for (qsizetype i = 3; i < arguments.size(); ++i) urls << QUrl::fromLocalFile(arguments[i]);
    Source source(urls);
    source.setWindowTitle(QStringLiteral("drag-helper"));
    source.setGeometry(arguments[1].toInt(), arguments[2].toInt(), 80, 80);
    source.show();
    return QApplication::exec();
}
