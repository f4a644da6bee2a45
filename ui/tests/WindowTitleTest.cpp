// Which file the window edits: the title names it and marks changes, a save leaves a sign, the file
// dialogs offer it and open where the user last chose a file, and the recent files are a key away.
#include "ui/tests/WindowWithUnit.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QWindow>

namespace orb {
namespace {

using test::whenModalShows;

const QString Program = "Inicializační program pro zařízení ORB/ORBTONE";

class WindowTitleTest : public test::WindowWithUnit {
  protected:
    /// The title as the window system shows it, with the mark of changes resolved.
    QString title() const { return window.windowHandle()->title(); }
    bool savedSignShows() { return control<QLabel>("savedSign")->isVisible(); }

    Message loaded(const std::string& name) const {
        return {"ORB - Načítání souboru", "Data ze souboru '" + name + "' byla úspěšně načtena.",
                MessageIcon::Information, MessageButtons::Ok};
    }
};

TEST_F(WindowTitleTest, TheTitleNamesTheFileAndMarksEditsUntilTheyAreKept) {
    EXPECT_EQ(title(), Program);
    typeInto("tabJmenoStanice", "Sklad");
    EXPECT_EQ(title(), Program + "*");
    EXPECT_FALSE(savedSignShows());

    dialogs.answers = {path("sklad.eep")};
    click("btFileSave");
    EXPECT_EQ(title(), "sklad.eep – " + Program);
    EXPECT_TRUE(savedSignShows());
    EXPECT_EQ(control<QLabel>("savedSign")->text(), "Uloženo do souboru sklad.eep");

    // An edit in a table marks it again, and the sign of the save goes.
    typeInto("tabTC_2", "602111222");
    QTest::mouseClick(control("tabTCPrijem_2"), Qt::LeftButton);
    EXPECT_EQ(title(), "sklad.eep* – " + Program);
    EXPECT_FALSE(savedSignShows());

    // Written into the unit, the settings are kept there; the file stays the window's.
    boxes.expectBox(test::WriteDone);
    click("btEEPROMSave");
    EXPECT_EQ(title(), "sklad.eep – " + Program);

    // Read from the unit, they are no file's any more.
    boxes.expectBox(test::ReadDone);
    click("btEEPROMLoad");
    EXPECT_EQ(title(), Program);

    boxes.expectBox(loaded(path("sklad.eep")));
    window.loadFile(path("sklad.eep"));
    EXPECT_EQ(title(), "sklad.eep – " + Program);
}

TEST_F(WindowTitleTest, AFailedOrCancelledSaveLeavesTheTitleAndGivesNoSign) {
    typeInto("tabJmenoStanice", "Sklad");
    dialogs.answers = {std::nullopt};
    click("btFileSave");
    EXPECT_EQ(title(), Program + "*");
    EXPECT_FALSE(savedSignShows());

    const std::string inMissingFolder = path("chybi/sklad.eep");
    dialogs.answers = {inMissingFolder};
    boxes.expectBox({"ORB - Ukládání souboru",
                     "Při ukládání nastavení programu do souboru '" + inMissingFolder +
                         "' nastala chyba. Složka '" + path("chybi") + "' neexistuje.",
                     MessageIcon::Critical, MessageButtons::Ok});
    click("btFileSave");
    EXPECT_EQ(title(), Program + "*");
    EXPECT_FALSE(savedSignShows());
}

TEST_F(WindowTitleTest, TheDialogsOfferTheWindowsFileAndOpenInTheFolderLastChosen) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("zakaznik"));
    const QString customer = folder.filePath("zakaznik");
    form.setText({TextField::tabJmenoStanice}, "Sklad");
    dialogs.answers = {path("zakaznik/sklad.eep")};
    click("btFileSave");

    // From now on Qt's own dialogs: the open dialog starts in the folder of the file saved last.
    window.setFileDialogs(nullptr);
    whenModalShows([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        EXPECT_EQ(files.directory().absolutePath(), customer);
        files.selectFile(customer + "/sklad.eep");
        dialog.accept();
    });
    boxes.expectBox(loaded(path("zakaznik/sklad.eep")));
    click("btFileLoad");

    // The save dialog offers the loaded file, in its folder.
    whenModalShows([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        EXPECT_EQ(files.directory().absolutePath(), customer);
        EXPECT_EQ(files.selectedFiles(), QStringList{customer + "/sklad.eep"});
        dialog.reject();
    });
    click("btFileSave");
}

TEST_F(WindowTitleTest, TheFolderLastChosenIsRememberedForTheNextRun) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("jinde"));
    const QString elsewhere = folder.filePath("jinde");
    {
        FileHistory history;
        QtFileDialogs first(&window, history, [] { return QString(); });
        whenModalShows([&](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            files.setDirectory(elsewhere);
            files.selectFile(elsewhere + "/novy");
            dialog.accept();
        });
        EXPECT_EQ(first.chooseSaveFile(), path("jinde/novy.eep"));
    }
    FileHistory nextRun;
    QtFileDialogs dialogsOfNextRun(&window, nextRun, [] { return QString(); });
    whenModalShows([&](QDialog& dialog) {
        EXPECT_EQ(static_cast<QFileDialog&>(dialog).directory().absolutePath(), elsewhere);
        dialog.reject();
    });
    EXPECT_EQ(dialogsOfNextRun.chooseOpenFile(), std::nullopt);
}

TEST_F(WindowTitleTest, TheRecentFilesOfTheLoadButtonLoadTheChosenOneThroughTheGate) {
    auto* menu = control<QMenu>("recentFiles");
    const auto entries = [menu] {
        emit menu->aboutToShow();
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        return texts;
    };
    EXPECT_EQ(entries(), QStringList{"Žádné nedávné soubory"});

    for (const char* name : {"a.eep", "b.eep"}) {
        form.setText({TextField::tabJmenoStanice}, name);
        dialogs.answers = {path(name)};
        click("btFileSave");
    }
    const QString shownFolder = QDir::toNativeSeparators(folder.path()).replace(QDir::homePath(), "~");
    EXPECT_EQ(entries(), (QStringList{"&1 b.eep (" + shownFolder + ")", "&2 a.eep (" + shownFolder + ")"}));

    // A value its rule refuses stops the load, as it stops every command.
    typeInto("tabPIN", "12a");
    boxes.expectBox(test::errorBox("PIN je špatně zadán."));
    entries();
    menu->actions().at(1)->trigger();
    EXPECT_EQ(form.text({TextField::tabJmenoStanice}), "b.eep");

    typeInto("tabPIN", "1234");
    boxes.expectBox(test::unsavedQuestion("ORB - Načítání souboru"), Answer::No);
    boxes.expectBox(loaded(path("a.eep")));
    entries();
    menu->actions().at(1)->trigger();
    EXPECT_EQ(form.text({TextField::tabJmenoStanice}), "a.eep");
    EXPECT_EQ(title(), "a.eep – " + Program);
}

} // namespace
} // namespace orb
