// Every command of the main window against a value that the rule of the field being left refuses: the
// rule's box comes once, the command does not run and the field keeps the focus.
#include "ui/tests/WindowWithUnit.h"

#include <QDir>
#include <QTabWidget>
#include <utility>

namespace orb {
namespace {

using test::errorBox;

/// A field with a rule and a value that the rule refuses.
struct RefusedValue {
    const char* field;
    int tab;
    const char* value;
    const char* message;
};

void PrintTo(const RefusedValue& value, std::ostream* out) {
    *out << value.field << " \"" << value.value << '"';
}

const RefusedValue RefusedValues[] = {
    {"tabPIN", 0, "12a", "PIN je špatně zadán."},
    {"tabTC_3", 1, "12a", "Telefonní číslo je špatně zadáno."},
    {"tabDobaPlatnostiSMS", 0, "3a",
     "Doba platnosti SMS zprávy je špatně zadána. Povolené hodnoty jsou '1','2',..,'30'."},
    {"tabINPNazev_2", 2, "Stav",
     "Název vstupu nesmí být žádné z těchto klíčových slov (ani jejich předpony): "
     "STATE;STAV;BACK;NOBACK;RESET;SHUTDOWN;NAME;ZPET;NEZPET;JMENO"},
};

class CommandGate;

/// One way to start a command of the window.
struct WindowCommand {
    const char* name;
    void (*start)(CommandGate&);
};

void PrintTo(const WindowCommand& command, std::ostream* out) {
    *out << command.name;
}

/// The window with an activated unit, so that every command can run, and with every trace a command
/// leaves watched: the unit's requests, the file dialogs, the printer, a modal window.
class CommandGate : public test::WindowWithUnit {
  protected:
    void SetUp() override {
        WindowWithUnit::SetUp();
        requestsBefore = unit.requests.size();
        // Any modal window that opens is recorded and closed, so that a failing test never hangs.
        modalWatch.setInterval(10);
        QObject::connect(&modalWatch, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened << dialog->objectName();
                dialog->reject();
            }
        });
        modalWatch.start();
    }

    void TearDown() override {
        modalWatch.stop();
        WindowWithUnit::TearDown();
    }

    std::size_t requestsBefore = 0;
    QStringList opened;
    QTimer modalWatch;
};

class CommandGateTest : public CommandGate,
                        public testing::WithParamInterface<std::tuple<WindowCommand, RefusedValue>> {};

const WindowCommand Commands[] = {
    {"btDEA", [](CommandGate& t) { t.click("btDEA"); }},
    {"btFileLoad", [](CommandGate& t) { t.click("btFileLoad"); }},
    {"btFileSave", [](CommandGate& t) { t.click("btFileSave"); }},
    {"btEEPROMLoad", [](CommandGate& t) { t.click("btEEPROMLoad"); }},
    {"btEEPROMSave", [](CommandGate& t) { t.click("btEEPROMSave"); }},
    {"btTisk", [](CommandGate& t) { t.click("btTisk"); }},
    {"btInformace", [](CommandGate& t) { t.click("btInformace"); }},
    {"btKonec", [](CommandGate& t) { t.click("btKonec"); }},
    {"closeBox", [](CommandGate& t) { t.closeWindow(); }},
    {"drop", [](CommandGate& t) { t.dropFile(); }},
    {"AltD_Deaktivovat", [](CommandGate& t) { t.pressAltWith(Qt::Key_D); }},
    {"AltI_Informace", [](CommandGate& t) { t.pressAltWith(Qt::Key_I); }},
    {"AltK_Ukoncit", [](CommandGate& t) { t.pressAltWith(Qt::Key_K); }},
    {"tabOUTbt_7", [](CommandGate& t) { t.press("tabOUTbt_7"); }}, // a row button of another page
};

TEST_P(CommandGateTest, ARefusedValueStopsTheCommandAndKeepsTheFocus) {
    const auto& [command, refused] = GetParam();
    control<QTabWidget>("TabList")->setCurrentIndex(refused.tab);
    typeInto(refused.field, refused.value);

    boxes.expectBox(errorBox(refused.message));
    command.start(*this);
    test::settle();

    EXPECT_EQ(boxes.boxes.size(), 2u); // the activation's and the rule's
    EXPECT_EQ(unit.requests.size(), requestsBefore);
    EXPECT_EQ(control<QLabel>("tabDeAktivNapis")->text(), "Aktivní");
    EXPECT_EQ(printed, 0);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_TRUE(window.isVisible());

    EXPECT_TRUE(window.isActiveWindow());
    EXPECT_EQ(control<QTabWidget>("TabList")->currentIndex(), refused.tab);
    EXPECT_EQ(QApplication::focusWidget(), control(refused.field));
    EXPECT_EQ(control<QLineEdit>(refused.field)->text(), refused.value);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandGateTest,
                         testing::Combine(testing::ValuesIn(Commands), testing::ValuesIn(RefusedValues)),
                         [](const testing::TestParamInfo<std::tuple<WindowCommand, RefusedValue>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).field;
                         });

/// Answers the boxes from the script, and does something more while the first one is open.
class WhileTheBoxIsOpen : public Prompter {
  public:
    WhileTheBoxIsOpen(Prompter& boxes, std::function<void()> act) : boxes_(boxes), act_(std::move(act)) {}

    Answer ask(const Message& message) override {
        if (act_) std::exchange(act_, {})();
        return boxes_.ask(message);
    }

  private:
    Prompter& boxes_;
    std::function<void()> act_;
};

TEST_F(CommandGate, NoCommandStartsWhileARulesBoxIsOpen) {
    typeInto("tabPIN", "12a");
    WhileTheBoxIsOpen prompter(boxes, [this] {
        for (const WindowCommand& command : Commands)
            command.start(*this);
    });
    window.setPrompter(&prompter);
    boxes.expectBox(errorBox("PIN je špatně zadán."));
    test::focus(control("tabJmenoStanice"));
    window.setPrompter(&boxes);

    EXPECT_EQ(unit.requests.size(), requestsBefore);
    EXPECT_EQ(printed, 0);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), control("tabPIN"));
}

} // namespace
} // namespace orb
