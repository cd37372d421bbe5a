// The yardstick of bench/startup.sh: the least a Qt Widgets program does to show what the
// main window shows first, one 1030 x 662 PNG picture in a frameless window.
//
//   bench_bare_window <picture.png>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>

namespace {

class PictureWindow : public QWidget {
public:
    explicit PictureWindow(const QImage& picture) : picture_(picture) {
        setWindowFlags(Qt::FramelessWindowHint);
        setWindowTitle(QStringLiteral("Bare window"));
        setFixedSize(picture_.size());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }

private:
    QImage picture_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_bare_window <picture.png>\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "bench_bare_window: cannot read %s\n", argv[1]);
        return 1;
    }
    PictureWindow window(picture);
    window.show();
    return app.exec();
}
