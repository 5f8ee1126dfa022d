// A drag source for the end-to-end tests, as a file manager is: a small window titled
// "drag-helper" at x y; a press in it drags the files named after them. The title tells the
// test how far the drag has come: "dragging", then "accepted" once the target takes the files.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
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
        connect(drag, &QDrag::actionChanged, this, [this](Qt::DropAction a) {
            if (a) setWindowTitle("accepted");
        });
        setWindowTitle("dragging");
        // The target asks for the names after the drop: stay to answer until the test ends.
        drag->exec(Qt::CopyAction);
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
