#include "ui/PaintedIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace orb {
namespace {

const QColor Outline(40, 40, 40);

void drawChip(QPainter& p, const QRectF& body) {
    p.setPen(QPen(QColor(120, 120, 120), 1.0));
    for (qreal y = body.top() + 2; y < body.bottom() - 1; y += 3) {
        p.drawLine(QPointF(body.left() - 2, y), QPointF(body.left(), y));
        p.drawLine(QPointF(body.right(), y), QPointF(body.right() + 2, y));
    }
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(body, 1, 1);
    p.setBrush(QColor(200, 200, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(body.left() + 2.2, body.top() + 2.2), 0.9, 0.9);
}

void drawArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    const QLineF line(from, to);
    const QLineF unit = line.unitVector();
    const QPointF dir = unit.p2() - unit.p1();
    const QPointF normal(-dir.y(), dir.x());
    const qreal head = 4.5;
    const QPointF base = to - dir * head;
    p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, base);
    p.setPen(QPen(colour.darker(140), 0.6));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to, base + normal * 3.6, base - normal * 3.6}));
}

void drawUnit(QPainter& p) {
    // The communicator: a box with a small display, status lamps and a stub antenna sending.
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(13.5, 3.5, 1.6, 4));
    QLinearGradient body(0, 6, 0, 19);
    body.setColorAt(0, QColor(70, 110, 180));
    body.setColorAt(1, QColor(30, 60, 120));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 6.5, 15, 12), 2, 2);
    p.setBrush(QColor(170, 220, 170));
    p.drawRect(QRectF(4.5, 8.5, 11, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPointF(6, 15.5), 1.1, 1.1);
    p.setBrush(QColor(110, 230, 110));
    p.drawEllipse(QPointF(9.5, 15.5), 1.1, 1.1);
    p.setPen(QPen(QColor(200, 40, 40), 1.0));
    p.setBrush(Qt::NoBrush);
    for (qreal radius : {2.2, 3.4})
        p.drawArc(QRectF(14.3 - radius, 4.0 - radius, 2 * radius, 2 * radius), 35 * 16, 110 * 16);
}

void drawLink(QPainter& p) {
    // A serial plug on its cable, about to meet the unit's socket.
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(150, 150, 160));
    p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(10.5, 3.5), QPointF(9.5, 9.5), QPointF(2.5, 9.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 220, 100));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(3.2 + i * 1.9, 5.6), 0.6, 0.6);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(4.1 + i * 1.9, 7.6), 0.6, 0.6);
    p.setPen(QPen(QColor(60, 60, 60), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable(QPointF(6, 10));
    cable.cubicTo(QPointF(6, 17), QPointF(12, 12), QPointF(14, 18.5));
    p.drawPath(cable);
    drawChip(p, QRectF(13, 2.5, 5.5, 8));
    p.setPen(QPen(QColor(0, 140, 60), 1.2, Qt::DashLine));
    p.drawLine(QPointF(11.2, 6.5), QPointF(12.6, 6.5));
}

void drawFolder(QPainter& p) {
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(220, 170, 50));
    p.drawPolygon(QPolygonF({QPointF(1.5, 6.5), QPointF(6.5, 6.5), QPointF(8, 8), QPointF(16.5, 8),
                             QPointF(16.5, 17.5), QPointF(1.5, 17.5)}));
    p.setBrush(QColor(250, 210, 90));
    p.drawPolygon(
        QPolygonF({QPointF(3.5, 10.5), QPointF(18.5, 10.5), QPointF(16.5, 17.5), QPointF(1.5, 17.5)}));
}

void drawFloppy(QPainter& p) {
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(50, 80, 160));
    p.drawPolygon(QPolygonF({QPointF(1.5, 1.5), QPointF(15.5, 1.5), QPointF(18.5, 4.5), QPointF(18.5, 18.5),
                             QPointF(1.5, 18.5)}));
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(5.5, 1.5, 9, 5.5));
    p.setBrush(QColor(50, 80, 160));
    p.drawRect(QRectF(11, 2.5, 2, 3.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 11, 8));
    p.setPen(QPen(QColor(150, 150, 200), 0.7));
    p.drawLine(QPointF(6, 13), QPointF(14, 13));
    p.drawLine(QPointF(6, 15.5), QPointF(14, 15.5));
}

void drawPrinter(QPainter& p) {
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 1.5, 9, 7));
    p.setBrush(QColor(170, 170, 175));
    p.drawRoundedRect(QRectF(1.5, 7.5, 17, 7), 1.5, 1.5);
    p.setBrush(QColor(110, 110, 115));
    p.drawRect(QRectF(4.5, 12.5, 11, 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 13.5, 9, 4));
    p.setPen(QPen(QColor(60, 60, 60), 0.6));
    p.drawLine(QPointF(7, 15.5), QPointF(13, 15.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 60));
    p.drawEllipse(QPointF(16, 9.8), 0.9, 0.9);
}

class PictureEngine : public QIconEngine {
  public:
    explicit PictureEngine(Picture picture) : picture_(picture) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, QIcon::Off));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paintPicture(painter, picture_, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (mode != QIcon::Disabled) return pixmap;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
    }

    QIconEngine* clone() const override { return new PictureEngine(picture_); }

  private:
    Picture picture_;
};

} // namespace

void paintPicture(QPainter& painter, Picture picture, const QRectF& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / 20.0, rect.height() / 20.0);
    switch (picture) {
    case Picture::Unit:
        drawUnit(painter);
        break;
    case Picture::Link:
        drawLink(painter);
        break;
    case Picture::FileLoad:
        drawFolder(painter);
        drawArrow(painter, QPointF(10, 15), QPointF(10, 1), QColor(30, 160, 60));
        break;
    case Picture::FileSave:
        drawFloppy(painter);
        break;
    case Picture::EepromLoad:
        drawChip(painter, QRectF(3, 2, 9, 12));
        drawArrow(painter, QPointF(9, 11), QPointF(18.5, 19), QColor(30, 160, 60));
        break;
    case Picture::EepromSave:
        drawChip(painter, QRectF(8, 2, 9, 12));
        drawArrow(painter, QPointF(2, 19), QPointF(11.5, 10.5), QColor(210, 60, 40));
        break;
    case Picture::Print:
        drawPrinter(painter);
        break;
    }
    painter.restore();
}

QIcon paintedIcon(Picture picture) {
    return QIcon(new PictureEngine(picture));
}

} // namespace orb
