// Settings edited since a file or the unit last took or gave them are never replaced without the question
// the exit asks: by a file loaded, by the unit read or by a file dropped on the window.
#include "link/RequestCodes.h"
#include "ui/tests/WindowWithUnit.h"

namespace orb {
namespace {

constexpr TextRef Station{TextField::tabJmenoStanice};

using test::unsavedQuestion;

QByteArray contentOf(const std::string& path) {
    return test::contentOf(QString::fromStdString(path));
}

/// A file saved with the station "Jinde", then the station typed over as "Chata" and not saved.
class UnsavedEditsTest : public test::WindowWithUnit {
  protected:
    void SetUp() override {
        WindowWithUnit::SetUp();
        form.setText(Station, "Jinde");
        dialogs.answers = {other};
        click("btFileSave");
        typeInto("tabJmenoStanice", "Chata");
    }

    Message loaded(const std::string& name) const {
        return {"ORB - Načítání souboru", "Data ze souboru '" + name + "' byla úspěšně načtena.",
                MessageIcon::Information, MessageButtons::Ok};
    }

    const std::string other = path("jinde.eep");
    const std::string backup = path("zaloha.eep");
};

TEST_F(UnsavedEditsTest, LoadingAFileAsksFirstAndReplacesTheEditsOnlyOnceTheyAreSavedOrLetGo) {
    const Message question = unsavedQuestion("ORB - Načítání souboru");
    dialogs.answers = {other};
    boxes.expectBox(question, Answer::Cancel);
    click("btFileLoad");
    EXPECT_EQ(form.text(Station), "Chata");

    dialogs.answers = {other, std::nullopt}; // the save dialog is cancelled: nothing is saved
    boxes.expectBox(question, Answer::Yes);
    click("btFileLoad");
    EXPECT_EQ(form.text(Station), "Chata");

    dialogs.answers = {other, backup};
    boxes.expectBox(question, Answer::Yes);
    boxes.expectBox(loaded(other));
    click("btFileLoad");
    EXPECT_TRUE(contentOf(backup).contains("Chata"));
    EXPECT_EQ(form.text(Station), "Jinde");
    EXPECT_EQ(control<QLineEdit>("tabJmenoStanice")->text(), "Jinde");

    typeInto("tabJmenoStanice", "Chata 2");
    dialogs.answers = {other};
    boxes.expectBox(question, Answer::No);
    boxes.expectBox(loaded(other));
    click("btFileLoad");
    EXPECT_EQ(form.text(Station), "Jinde");
    EXPECT_FALSE(contentOf(backup).contains("Chata 2"));
}

TEST_F(UnsavedEditsTest, AFileDroppedOnAFieldLoadsAfterTheQuestionAndNeverLandsInTheField) {
    const auto file = test::draggedFile(other);
    const Message question = unsavedQuestion("ORB - Načítání souboru");
    boxes.expectBox(question, Answer::Cancel);
    EXPECT_TRUE(dropOn("tabJmenoStanice", *file));
    EXPECT_EQ(control<QLineEdit>("tabJmenoStanice")->text(), "Chata");

    boxes.expectBox(question, Answer::No);
    boxes.expectBox(loaded(other));
    EXPECT_TRUE(dropOn("tabPIN", *file));
    EXPECT_EQ(control<QLineEdit>("tabJmenoStanice")->text(), "Jinde");
    EXPECT_EQ(control<QLineEdit>("tabPIN")->text(), "");

    // Text, a link to the web or two files are no settings file: the window takes none of them.
    QMimeData text;
    text.setText("file:///tmp/site2.eep");
    QMimeData web;
    web.setUrls({QUrl("https://example.com/site2.eep")});
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile("/tmp/a.eep"), QUrl::fromLocalFile("/tmp/b.eep")});
    for (const QMimeData* data : {&text, &web, &two})
        EXPECT_FALSE(dropOn("tabJmenoStanice", *data));
    EXPECT_EQ(control<QLineEdit>("tabJmenoStanice")->text(), "Jinde");
}

TEST_F(UnsavedEditsTest, ReadingTheUnitAsksFirstAndStornoSendsItNothing) {
    SettingsRecord held = form.record();
    held.tabJmenoStanice = "Jednotka";
    unit.holdSettings(held);
    const std::size_t requests = unit.requests.size();
    const Message question = unsavedQuestion("ORB - Načítání dat z EEPROM do PC");

    boxes.expectBox(question, Answer::Cancel);
    click("btEEPROMLoad");
    EXPECT_EQ(unit.requests.size(), requests);
    EXPECT_EQ(form.text(Station), "Chata");

    dialogs.answers = {backup};
    boxes.expectBox(question, Answer::Yes);
    boxes.expectBox(test::ReadDone);
    click("btEEPROMLoad");
    EXPECT_TRUE(contentOf(backup).contains("Chata"));
    EXPECT_EQ(form.text(Station), "Jednotka");

    // What was read counts as kept: the next read asks nothing.
    boxes.expectBox(test::ReadDone);
    click("btEEPROMLoad");
    EXPECT_FALSE(unit.requestsOf(static_cast<std::uint8_t>(RequestCode::ReadBlock)).empty());
}

} // namespace
} // namespace orb
