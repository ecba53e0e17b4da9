// Draws resources/app/app.png, the program icon (a shield with a keyhole).
// Build: g++ -std=c++20 -fPIC draw-app-icon.cpp $(pkg-config --cflags --libs Qt6Gui)
// Run: QT_QPA_PLATFORM=offscreen ./a.out app.png [size]
// The drawing is on a 64-pixel grid; another size scales it (make-icons.sh
// draws the desktop theme's sizes this way).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int size = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 64;
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // a shield
    QPainterPath shield;
    shield.moveTo(32, 4);
    shield.lineTo(56, 12);
    shield.lineTo(54, 34);
    shield.cubicTo(52, 48, 42, 56, 32, 60);
    shield.cubicTo(22, 56, 12, 48, 10, 34);
    shield.lineTo(8, 12);
    shield.closeSubpath();
    p.setPen(QPen(QColor(20, 50, 90), 3));
    p.setBrush(QColor(40, 100, 170));
    p.drawPath(shield);
    // a keyhole
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 200, 60));
    p.drawEllipse(QPointF(32, 26), 7, 7);
    QPainterPath slot;
    slot.moveTo(29, 30);
    slot.lineTo(35, 30);
    slot.lineTo(37, 46);
    slot.lineTo(27, 46);
    slot.closeSubpath();
    p.drawPath(slot);
    p.end();
    img.save(argv[1]);
}
