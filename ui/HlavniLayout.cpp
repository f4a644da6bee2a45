// Builds the main window's frames outside the tabs, its hidden frames and its keyboard order.
#include "settings/SettingsForm.h"
#include "settings/Tables.h"
#include "ui/Hlavni.h"
#include "ui/LayoutParts.h"
#include "ui/PaintedIcons.h"
#include "ui/SecondClickGuard.h"
#include "ui/TextLimit.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"
#include "ui/WindowPalette.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <utility>

namespace orb {
namespace {

QString controlName(std::string_view name, bool rowField, int row) {
    const QByteArray base(name.data(), static_cast<qsizetype>(name.size()));
    return rowField ? rowControlName(base.constData(), row) : QString::fromLatin1(base);
}

/// The port list tabPort: it reads the system's serial ports again each time it opens.
class PortList : public QComboBox {
  public:
    PortList(QWidget* parent, std::function<void()> refresh)
        : QComboBox(parent), refresh_(std::move(refresh)) {}

    void showPopup() override {
        refresh_();
        QComboBox::showPopup();
    }

  private:
    std::function<void()> refresh_;
};

} // namespace

QLabel* Hlavni::addLabel(const QString& text, QWidget* parent, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->move(twips(left), twips(top));
    label->adjustSize();
    return label;
}

QLineEdit* Hlavni::addText(TextRef ref, QWidget* parent, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(controlName(fieldName(ref.field), isRowField(ref.field), ref.row));
    limitText(edit, ref.field);
    placeTwips(edit, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    bindText(ref, edit, edit);
    return edit;
}

QCheckBox* Hlavni::addFlag(FlagField field, int row, const QString& caption, QWidget* parent,
                           QRect geometry) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(controlName(fieldName(field), isRowField(field), row));
    placeTwips(check, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    flagControl(field, row) = check;
    connect(check, &QCheckBox::clicked, this,
            [this, field, row](bool checked) { form_->setFlag(field, row, checked); });
    return check;
}

QComboBox* Hlavni::addChoice(ChoiceField field, QWidget* parent, QRect geometry, QComboBox* combo) {
    if (!combo) combo = new QComboBox(parent);
    combo->setObjectName(controlName(fieldName(field), false, 0));
    placeTwips(combo, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    choices_[static_cast<int>(field)] = combo;
    connect(combo, &QComboBox::activated, this, [this, field](int index) { form_->setChoice(field, index); });
    return combo;
}

QToolButton* Hlavni::addPictureButton(const char* name, QWidget* parent, QRect geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setIconSize(QSize(20, 20));
    placeTwips(button, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    return button;
}

void Hlavni::buildConnection(QWidget* client) {
    QGroupBox* frame = addFrame("Frame6", "Komunikace PC se zařízením", client, box(120, 120, 3735, 975));
    QLabel* portLabel = addLabel("Sé&riový port:", frame, 120, 280);
    QComboBox* port = addChoice(ChoiceField::tabPort, frame, box(120, 520, 975, ComboHeight),
                                new PortList(frame, [this] { refreshPorts(); }));
    portLabel->setBuddy(port);
    for (std::string_view text : PortTexts)
        port->addItem(QString::fromUtf8(text.data(), text.size()));
    port->setToolTip("Sériový port PC, ke kterému je připojeno zařízení");
    nameChoiceList(port, "Sériový port");

    btDEA_ = addPictureButton("btDEA", frame, box(1200, 255, 1185, 600));
    btDEA_->setIcon(paintedIcon(Picture::Link));
    btDEA_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    btDEA_->setIconSize(QSize(20, 20));
    // The second click of a double click, or a click that follows a change of the caption too closely to
    // have been meant for the new one, would undo what the first did: it is ignored.
    btDEA_->installEventFilter(new SecondClickGuard(btDEA_));
    connect(btDEA_, &QToolButton::clicked, this, [this] {
        if (deaCaptionChanged_.isValid() &&
            deaCaptionChanged_.elapsed() < QApplication::doubleClickInterval())
            return;
        runExchange(commands_.dea);
    });

    QLabel* spojeni = addLabel("Spojení", frame, 2520, 210);
    spojeni->setAlignment(Qt::AlignHCenter);
    spojeni->setFixedWidth(twips(1035));
    tabDeAktivNapis_ = new QLabel(frame);
    tabDeAktivNapis_->setObjectName("tabDeAktivNapis");
    tabDeAktivNapis_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    tabDeAktivNapis_->setFont(stateCaptionFont());
    placeTwips(tabDeAktivNapis_, 2400, 420, 1275, 480);
}

void Hlavni::buildInformation(QWidget* client) {
    QGroupBox* frame =
        addFrame("frmInformace", "Informace o připojeném zařízení", client, box(3960, 120, 5175, 975));
    struct Row {
        const char* caption;
        int captionLeft;
        int top;
        QLabel** value;
        const char* name;
        int valueLeft;
        bool rightAligned;
    };
    const Row rows[] = {
        {"Produkt:", 120, 240, &lblInfoProdukt_, "lblInfoProdukt", 1320, false},
        {"Verze:", 120, 480, &lblInfoVerze_, "lblInfoVerze", 1320, false},
        {"Typ modemu:", 120, 720, &lblInfoModem_, "lblInfoModem", 1320, false},
        {"Velikost paměti:", 2520, 240, &lblInfoPamSize_, "lblInfoPamSize", 4080, true},
        {"Velikost nastavení:", 2520, 480, &lblInfoPamUsage_, "lblInfoPamUsage", 4080, true},
        {"Volné místo:", 2520, 720, &lblInfoPamFree_, "lblInfoPamFree", 4080, true},
    };
    for (const Row& row : rows) {
        addLabel(row.caption, frame, row.captionLeft, row.top);
        auto* value = new QLabel("?", frame);
        value->setObjectName(row.name);
        setTextColour(value, ValueColour);
        const int width = row.rightAligned ? 5055 - row.valueLeft : 2400 - row.valueLeft;
        placeTwips(value, row.valueLeft, row.top, width, LabelHeight);
        if (row.rightAligned) value->setAlignment(Qt::AlignRight | Qt::AlignTop);
        *row.value = value;
    }
}

void Hlavni::buildCommands(QWidget* client) {
    QGroupBox* trans = addFrame("frmTrans", "Nastavení", client, box(120, 5520, 5775, 855));
    // Picture buttons have no caption to mark an access key in: Alt and their place from the left reach
    // each, and the file and print commands have the desktop's usual keys as well.
    struct Command {
        QToolButton** button;
        const char* name;
        int left;
        int width;
        Picture picture;
        const char* tooltip;
        const char* accessKey;
        const char* shortcut; ///< empty: none
    };
    const Command commands[] = {
        {&btFileLoad_, "btFileLoad", 120, 500, Picture::FileLoad, "Načíst nastavení ze souboru", "Alt+1",
         "Ctrl+O"},
        {&btFileSave_, "btFileSave", 720, 500, Picture::FileSave, "Uložit nastavení do souboru", "Alt+2",
         "Ctrl+S"},
        {&btEEPROMLoad_, "btEEPROMLoad", 1320, 500, Picture::EepromLoad, "Načíst  nastavení z EEPROM",
         "Alt+3", ""},
        {&btEEPROMSave_, "btEEPROMSave", 1920, 500, Picture::EepromSave, "Uložit nastavení do EEPROM",
         "Alt+4", ""},
        {&btTisk_, "btTisk", 5160, 495, Picture::Print, "Tisk nastavení", "Alt+5", "Ctrl+P"},
    };
    for (const Command& command : commands) {
        QToolButton* button =
            addPictureButton(command.name, trans, box(command.left, 240, command.width, 500));
        button->setIcon(paintedIcon(command.picture));
        button->setAccessibleName(QString(command.tooltip).simplified());
        const QString shortcut = command.shortcut;
        button->setToolTip(QString("%1 (%2)").arg(
            command.tooltip, shortcut.isEmpty() ? command.accessKey : shortcut + ", " + command.accessKey));
        button->setShortcut(QKeySequence(command.accessKey));
        if (!shortcut.isEmpty())
            connect(new QShortcut(QKeySequence(shortcut), this), &QShortcut::activated, button,
                    &QToolButton::animateClick);
        *command.button = button;
    }
    btTisk_->setIconSize(QSize(20, 18));
    // Narrower than the design's 2895, which would run over the left part of btTisk and take its clicks.
    addFlag(FlagField::CheckWrite, 0, "Kontrolovat &zápis do EEPROM", trans,
            box(2520, 360, 5160 - 60 - 2520, CheckHeight));
    connect(btFileLoad_, &QToolButton::clicked, this, [this] { runCommand([this] { loadFile(); }); });
    connect(btFileSave_, &QToolButton::clicked, this, [this] { runCommand([this] { saveFile(); }); });
    connect(btEEPROMLoad_, &QToolButton::clicked, this, [this] {
        if (commands_.loadFromUnit) runCommand([this] { loadFromUnit(); });
    });
    connect(btEEPROMSave_, &QToolButton::clicked, this, [this] {
        if (commands_.saveToUnit) runExchange([this] { saveToUnit(); });
    });
    connect(btTisk_, &QToolButton::clicked, this, [this] { runCommand(commands_.print); });

    QGroupBox* program = addFrame("Frame8", "Program", client, box(6000, 5520, 3135, 855));
    btInformace_ = new QPushButton("&Informace", program);
    btInformace_->setObjectName("btInformace");
    btInformace_->setToolTip("Informace o programu");
    placeTwips(btInformace_, 120, 240, 1335, 500);
    connect(btInformace_, &QPushButton::clicked, this, [this] { showInfoProgram(); });
    btKonec_ = new QPushButton("U&končit", program);
    btKonec_->setObjectName("btKonec");
    btKonec_->setToolTip("Ukončit program");
    placeTwips(btKonec_, 1680, 240, 1335, 500);
    connect(btKonec_, &QPushButton::clicked, this, [this] {
        if (endConfirmed(MessageButtons::YesNoCancel)) activity_.endProgram();
    });
}

void Hlavni::buildHiddenFrames(QWidget* client) {
    QGroupBox* ussd = addFrame("frUSSD", "USSD", client, box(2130, 1680, 6735, 1455));
    addFlag(FlagField::opExist, 0, "Posílat automatické hlášení existence", ussd,
            box(120, 240, 6375, CheckHeight));
    QLabel* reCall = addLabel("Text automatického hlášení existence ......", ussd, 120, 660);
    reCall->setObjectName("txtReCall");
    reCall->setBuddy(addText({TextField::rtReCall}, ussd, box(3240, 615, 3375, FieldHeight)));
    QLabel* existTime =
        addLabel("Doba, po které se hlásí automatická existence.......................", ussd, 120, 1080);
    existTime->setObjectName("txteeExistTime");
    QLineEdit* existMinutes = addText({TextField::eeExistTime}, ussd, box(4560, 1035, 735, FieldHeight));
    existMinutes->setAlignment(Qt::AlignRight);
    existTime->setBuddy(existMinutes);
    QLabel* minutes = addLabel("minut", ussd, 5400, 1080);
    minutes->setObjectName("txt2eeExistTime");
    existLabels_ = {reCall, existTime, minutes};
    ussd->hide();

    QGroupBox* timing = addFrame("Frame7", "", client, box(2130, 3180, 6735, 1995));
    struct Timing {
        TextField field;
        const char* caption;
    };
    const Timing timings[] = {
        {TextField::tabRFRWait, "Doba setrvání ve stavu Ready For Ring (3-768)"},
        {TextField::tabWaitFree, "Doba neaktivity do zvednutí (5-90)"},
        {TextField::tabKOMUNIKPocetTestu, "Počet testů při nesouhlasu parity (1-10)"},
        {TextField::tabKOMUNIKPocetBloku, "Počet bloků z ústředny před odesláním SMS (1-100)"},
    };
    int top = 300;
    for (const Timing& entry : timings) {
        QLineEdit* field = addText({entry.field}, timing, box(5400, top - 45, 495, FieldHeight));
        field->setAlignment(Qt::AlignRight);
        addLabel(entry.caption, timing, 120, top)->setBuddy(field);
        top += 420;
    }
    timing->hide();

    QGroupBox* format = addFrame("Frame2", "Komunikační formát", client, box(300, 1680, 1695, 2415));
    struct Choice {
        ChoiceField field;
        const char* caption;
        std::span<const ChoiceEntry> entries;
    };
    const Choice lists[] = {
        {ChoiceField::tabKOMUNIKFormat, "Formát:", FormatTable},
        {ChoiceField::tabKOMUNIKParita, "Parita:", ParityTable},
        {ChoiceField::tabKOMUNIKFrekvence, "Frekvence:", FrequencyTable},
    };
    top = 240;
    for (const Choice& list : lists) {
        QComboBox* combo = addChoice(list.field, format, box(120, top + 240, 1455, ComboHeight));
        addLabel(list.caption, format, 120, top)->setBuddy(combo);
        nameChoiceList(combo, QString(list.caption).chopped(1));
        for (const ChoiceEntry& entry : list.entries)
            combo->addItem(QString::fromUtf8(entry.text.data(), entry.text.size()));
        top += 720;
    }
    format->hide();
}

void Hlavni::setKeyboardOrder() {
    // Outside the tabs: the connection, the commands of "Nastavení", the tab strip; the page showing;
    // then the two program buttons. Hidden and disabled controls drop out by themselves.
    QList<QWidget*> order = {choices_[static_cast<int>(ChoiceField::tabPort)],
                             btDEA_,
                             btFileLoad_,
                             btFileSave_,
                             btEEPROMLoad_,
                             btEEPROMSave_,
                             flagControl(FlagField::CheckWrite, 0),
                             btTisk_,
                             tabs_};
    const auto text = [this](TextField field, int row = 0) { return textControl({field, row}).control; };
    order << text(TextField::tabJmenoStanice) << text(TextField::tabPIN) << text(TextField::tabTCcentra)
          << text(TextField::tabDobaPlatnostiSMS);
    for (FlagField flag : {FlagField::tabBezpecRezim, FlagField::tabPrepnoutJTS})
        order << flagControl(flag, 0);
    order << text(TextField::tabPrepnoutJTSCislo);
    for (FlagField flag :
         {FlagField::tabOdpovidatT0, FlagField::tabPrepnoutNepovolPristup, FlagField::opNotAuthorized})
        order << flagControl(flag, 0);
    order << text(TextField::rtNotAuthorized) << text(TextField::tabUTO);
    for (const RowTab& tab : rowTabs())
        for (const RowColumn& column : tab.columns)
            for (int row = 0; row < RowCount; ++row)
                if (column.kind != ColumnKind::RowLabel)
                    order << findChild<QWidget*>(rowControlName(column.name, row));
    order << btInformace_ << btKonec_;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

} // namespace orb
