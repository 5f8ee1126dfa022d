// A drag source for the end-to-end tests, as a file manager is: a small window titled
// "drag-helper" at x y; a press in it drags the files named after them.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class Source : public QWidget {
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& file : QCoreApplication::arguments().mid(3)) urls << QUrl::fromLocalFile(file);
        data->setUrls(urls);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
        // The target asks for the names after the drop: stay to answer.
        QTimer::singleShot(3000, qApp, &QCoreApplication::quit);
    }
};

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 4) return 2;
    Source source;
    source.setWindowTitle(QStringLiteral("drag-helper"));
    source.setGeometry(std::atoi(argv[1]), std::atoi(argv[2]), 80, 80);
    source.show();
    return QApplication::exec();
}
