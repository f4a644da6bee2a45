// Checks every window's layout against the fonts it is drawn with: no control covers another, every
// button answers a click anywhere on its face, and every caption fits its place.
#include "link/LinkMessages.h"
#include "settings/ImageSize.h"
#include "settings/Tables.h"
#include "ui/InfoProgram.h"
#include "ui/RowDialog.h"
#include "ui/RowTables.h"
#include "ui/ScreenCentre.h"
#include "ui/tests/WindowFixture.h"

#include <cmath>
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace orb {
namespace {

using test::WindowTest;

/// Pixels of air a caption keeps on either side: a word space's worth between a caption and a field, two
/// between two captions, so that neither runs into the other nor reads as one phrase with it.
constexpr qreal CaptionGap = 2.5;

std::string nameOf(const QWidget* widget) {
    QString path;
    for (const QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        QString name = w->objectName();
        if (name.isEmpty()) name = QString::fromLatin1(w->metaObject()->className());
        if (auto* label = qobject_cast<const QLabel*>(w)) name += " \"" + label->text() + '"';
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) name += " \"" + button->text() + '"';
        path = path.isEmpty() ? name : name + '/' + path;
    }
    return path.toStdString();
}

/// True unless the control or a frame that holds it is hidden; a tab page counts as shown.
bool isShown(const QWidget* widget) {
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget())) return false;
    return true;
}

/// A window, a frame or a tab page: what places controls side by side.
bool isContainer(const QWidget* widget) {
    return widget->isWindow() || qobject_cast<const QGroupBox*>(widget) ||
           qobject_cast<const QStackedWidget*>(widget->parentWidget());
}

/// The size a text takes in a font, one line per '\n'; an '&' before a letter is not shown.
QSizeF textSize(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    const QStringList lines = text.split('\n');
    qreal width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.size(Qt::TextShowMnemonic, line).width());
    return {width, metrics.height() + metrics.lineSpacing() * (lines.size() - 1)};
}

/// Where a label's text stands, in its parent's coordinates.
QRectF labelTextRect(const QLabel* label) {
    const QRectF area = label->contentsRect();
    const Qt::Alignment align = label->alignment();
    QRectF text;
    if (label->wordWrap()) {
        text = QFontMetricsF(label->font()).boundingRect(area, int(align) | Qt::TextWordWrap, label->text());
    } else {
        text = QRectF(area.topLeft(), textSize(label->font(), label->text()));
        if (align & Qt::AlignRight) text.moveRight(area.right());
        if (align & Qt::AlignHCenter) text.moveLeft(area.left() + (area.width() - text.width()) / 2);
        if (align & Qt::AlignBottom) text.moveBottom(area.bottom());
        if (align & Qt::AlignVCenter) text.moveTop(area.top() + (area.height() - text.height()) / 2);
    }
    return text.translated(label->pos());
}

/// The room a control takes among its siblings: a label's own text with some air, any other its rectangle.
QRectF footprint(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget); label && !label->text().isEmpty())
        return labelTextRect(label).adjusted(-CaptionGap, 0, CaptionGap, 0);
    return widget->geometry();
}

/// The controls of a window, not those of the windows it owns.
QList<QWidget*> controlsOf(QWidget* window) {
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.removeIf([window](const QWidget* w) { return w->window() != window; });
    return controls;
}

/// True if two controls take the same room; the table columns' text fields may share one border line.
bool overlap(const QWidget* a, const QWidget* b) {
    const QRectF common = footprint(a).intersected(footprint(b));
    if (common.isEmpty()) return false;
    const bool fields = qobject_cast<const QLineEdit*>(a) && qobject_cast<const QLineEdit*>(b);
    return !fields || std::min(common.width(), common.height()) > 1;
}

/// Fails for every two shown controls of one window, frame or tab page that take the same room.
void expectNoOverlap(QWidget* window) {
    QList<QWidget*> containers = controlsOf(window);
    containers.prepend(window);
    for (QWidget* container : containers) {
        if (!isContainer(container) || !isShown(container)) continue;
        QList<QWidget*> controls;
        for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow() && !child->isHidden()) controls << child;
        for (qsizetype i = 0; i < controls.size(); ++i)
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(overlap(controls[i], controls[j]))
                    << nameOf(controls[i]) << " " << footprint(controls[i]).x() << ".."
                    << footprint(controls[i]).right() << " and " << nameOf(controls[j]) << " "
                    << footprint(controls[j]).x() << ".." << footprint(controls[j]).right();
    }
}

/// Fails for every shown button of a window that does not get a click on some point of its face.
void expectButtonsTakeTheirClicks(QWidget* window) {
    for (QWidget* control : controlsOf(window)) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (!button || !button->isVisibleTo(window)) continue;
        int missed = 0;
        for (int y = 1; y < button->height() - 1; y += 2)
            for (int x = 1; x < button->width() - 1; x += 2) {
                QWidget* hit = window->childAt(button->mapTo(window, QPoint(x, y)));
                if (hit != button && !button->isAncestorOf(hit)) ++missed;
            }
        EXPECT_EQ(missed, 0) << nameOf(button);
    }
}

QStyleOptionButton buttonOption(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    if (auto* push = qobject_cast<const QPushButton*>(button); push && push->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    return option;
}

/// Where a control draws its caption, in its own coordinates; empty for a control without one.
QRect captionArea(const QWidget* widget) {
    QStyle* style = widget->style();
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->contentsRect();
    if (qobject_cast<const QCheckBox*>(widget)) {
        const QStyleOptionButton option = buttonOption(static_cast<const QAbstractButton*>(widget));
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, widget);
    }
    if (qobject_cast<const QRadioButton*>(widget)) {
        const QStyleOptionButton option = buttonOption(static_cast<const QAbstractButton*>(widget));
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, widget);
    }
    if (auto* push = qobject_cast<const QPushButton*>(widget)) {
        const QStyleOptionButton option = buttonOption(push);
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, widget);
    }
    if (auto* tool = qobject_cast<const QToolButton*>(widget)) {
        // The text stands under the picture, inside the button's frame.
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        QRect area = tool->rect().adjusted(frame, frame, -frame, -frame);
        if (tool->toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
            area.setTop(area.top() + tool->iconSize().height() + 3);
        return area;
    }
    return {};
}

/// The caption as drawn: without the "&" that marks its access key.
QString captionOf(const QWidget* widget) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) text = button->text();
    return text.remove(QRegularExpression("&(?=[^&])"));
}

/// Fails for every shown caption of a window that its font does not let fit where it is drawn.
void expectCaptionsFit(QWidget* window) {
    for (QWidget* widget : controlsOf(window)) {
        if (!isShown(widget)) continue;
        const QString caption = captionOf(widget);
        if (caption.isEmpty()) continue;
        const QRect area = captionArea(widget);
        auto* label = qobject_cast<QLabel*>(widget);
        const QSizeF needed =
            label && label->wordWrap()
                ? QFontMetricsF(label->font())
                      .boundingRect(QRectF(area), int(label->alignment()) | Qt::TextWordWrap, caption)
                      .size()
                : textSize(widget->font(), caption);
        EXPECT_LE(std::ceil(needed.width()), area.width()) << nameOf(widget);
        EXPECT_LE(std::ceil(needed.height()), area.height()) << nameOf(widget);
    }
    for (QTabBar* bar : window->findChildren<QTabBar*>()) {
        const int room = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i)
            EXPECT_LE(std::ceil(textSize(bar->font(), bar->tabText(i)).width()) + room,
                      bar->tabRect(i).width())
                << "tab " << bar->tabText(i).toStdString();
    }
    // A multi-line text field shows each of its lines whole, without a horizontal scroll bar.
    for (QTextEdit* edit : window->findChildren<QTextEdit*>()) {
        const qreal room = edit->viewport()->width() - 2 * edit->document()->documentMargin();
        const QFontMetricsF metrics(edit->font());
        for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next())
            EXPECT_LE(metrics.horizontalAdvance(block.text()), room)
                << nameOf(edit) << " line \"" << block.text().toStdString() << '"';
    }
}

/// The width in which a text field shows its text.
int textRoom(QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->contentsRect();
    option.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    // A line edit keeps two pixels free on either side of its text.
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

/// The main window and every window it opens, each shown as the user sees it.
class LayoutTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        for (RowDialogKind kind : {RowDialogKind::Phone, RowDialogKind::Input, RowDialogKind::Output}) {
            auto& dialog =
                dialogs.emplace_back(std::make_unique<RowDialog>(rowDialogTable(kind), form, &window));
            dialog->show();
        }
        about.show();
        window.progress().showProgress(std::string(link_messages::SwitchOn), true);
        window.progress().setProgressValue(96, 256);
        test::settle();
    }

    void TearDown() override {
        window.progress().hideProgress();
        WindowTest::TearDown();
    }

    /// The windows to walk, with a name for the failure messages.
    std::vector<QWidget*> windows() {
        std::vector<QWidget*> all = {&window, &about, window.findChild<QWidget*>("Info")};
        for (const auto& dialog : dialogs)
            all.push_back(dialog.get());
        return all;
    }

    std::vector<std::unique_ptr<RowDialog>> dialogs;
    InfoProgram about{&window};
};

TEST_F(LayoutTest, TheWindowStandsWithinTheScreenOrAtItsTopLeftCornerWhenLarger) {
    centreOnScreen(&window);
    const QRect area = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    if (frame.width() <= area.width() && frame.height() <= area.height()) {
        EXPECT_TRUE(area.contains(frame)) << "frame at " << frame.x() << ", " << frame.y();
    } else {
        // A small screen at a high scale: the title bar and the first controls stay on it.
        EXPECT_GE(frame.left(), area.left());
        EXPECT_GE(frame.top(), area.top());
    }
}

TEST_F(LayoutTest, NoControlCoversAnother) {
    for (QWidget* shown : windows()) {
        SCOPED_TRACE(shown->objectName().toStdString());
        expectNoOverlap(shown);
    }
}

TEST_F(LayoutTest, EveryButtonTakesAClickAnywhereOnItsFace) {
    auto* tabs = control<QTabWidget>("TabList");
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        SCOPED_TRACE(tabs->tabText(tab).toStdString());
        expectButtonsTakeTheirClicks(&window);
    }
    for (QWidget* shown : windows()) {
        SCOPED_TRACE(shown->objectName().toStdString());
        expectButtonsTakeTheirClicks(shown);
    }

    // A real click on the middle of the printer picture, found by the window like the user's.
    int printed = 0;
    window.commands().print = [&] { ++printed; };
    auto* print = control<QToolButton>("btTisk");
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                      print->mapTo(&window, print->rect().center()));
    EXPECT_EQ(printed, 1);
}

TEST_F(LayoutTest, EveryCaptionFitsItsPlaceInEveryState) {
    // The used size of the largest image the size labels may show: a station name that fills 65535 bytes.
    const TextRef name{TextField::tabJmenoStanice};
    form.setText(name, std::string(65535 - form.imageUsage() + CharacterCount(form.text(name)), 'W'));
    // The longest identity the unit may report; the largest memory shows the longest size, the smallest the
    // longest free room, below zero.
    const auto reported = [](LinkState link, int memoryBytes) {
        return UnitState{.link = link,
                         .product = std::string(DeviceTypeTable.back().name),
                         .version = FirmwareVersion{255, 255},
                         .memoryBytes = memoryBytes,
                         .modem = std::string(ModemTypeTable.back())};
    };
    for (const UnitState& unit : {UnitState{}, reported(LinkState::Active, EepromSizeTable.back()),
                                  reported(LinkState::Active, EepromSizeTable.front()),
                                  reported(LinkState::Refused, EepromSizeTable.back()),
                                  reported(LinkState::Refused, EepromSizeTable.front())}) {
        form.setUnitState(unit);
        SCOPED_TRACE(form.display().tabDeAktivNapis);
        for (QWidget* shown : windows()) {
            SCOPED_TRACE(shown->objectName().toStdString());
            expectCaptionsFit(shown);
            expectNoOverlap(shown);
        }
    }
}

TEST_F(LayoutTest, TheStateColumnsShowAStateWordOfEightCapitalsWhole) {
    // The words technicians give the states of doors and windows: "OTEVRENO", "ZAVRENO".
    for (const char* column : {"tabINPZap", "tabINPVyp", "tabOUTZap", "tabOUTVyp"}) {
        auto* field = control<QLineEdit>(rowControlName(column, 0));
        EXPECT_LE(std::ceil(QFontMetricsF(field->font()).horizontalAdvance("OTEVRENO")), textRoom(field))
            << column;
    }
}

} // namespace
} // namespace orb
