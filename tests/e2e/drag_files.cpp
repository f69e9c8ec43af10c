// A drag source for the end-to-end tests, as a file manager is one: a window that starts dragging
// the files named on its command line when the mouse is pressed in it.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {
class Source : public QLabel {
public:
    explicit Source(QList<QUrl> files) : QLabel(QStringLiteral("files")), m_files(std::move(files))
    {
        setWindowTitle(QStringLiteral("Drag files"));
        setFixedSize(120, 80);
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(m_files);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> m_files;
};
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QList<QUrl> files;
    for (const QString& path : QApplication::arguments().mid(1))
        files << QUrl::fromLocalFile(path);
    Source source(files);
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
