#include "ui/QtFileDialogs.h"
#include "ui/tests/WindowFixture.h"

#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

namespace orb {
namespace {

using test::contentOf;
using test::ScriptedFileDialogs;
using test::unsavedQuestion;
using test::whenModalShows;
using test::WindowTest;

class FileCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.setFileDialogs(&dialogs);
    }

    std::string path(const QString& name) const {
        return QFile::encodeName(folder.filePath(name)).toStdString();
    }
    void click(const char* button) { control<QToolButton>(button)->click(); }

    QTemporaryDir folder;
    ScriptedFileDialogs dialogs;
    FileHistory history;
};

TEST_F(FileCommandsTest, FileNamedOnTheCommandLineLoadsWithTheLoadCommandsMessages) {
    typeInto("tabJmenoStanice", "Chata");
    typeInto("rtNotAuthorized", "Pristup odepren"); // without its text the report's flag comes back clear
    const SettingsRecord saved = form.record();
    const std::string name = path("chata.eep");
    dialogs.answers = {name};
    click("btFileSave");
    typeInto("tabJmenoStanice", "Jinde");

    boxes.expectBox(unsavedQuestion("ORB - Načítání souboru"), Answer::No);
    boxes.expectBox({"ORB - Načítání souboru", "Data ze souboru '" + name + "' byla úspěšně načtena.",
                     MessageIcon::Information, MessageButtons::Ok});
    window.loadFile(name);
    EXPECT_EQ(form.record(), saved);
    EXPECT_EQ(control<QLineEdit>("tabJmenoStanice")->text(), "Chata");

    const std::string missing = path("missing.eep");
    boxes.expectBox({"ORB - Načítání souboru",
                     "Při načítání nastavení programu ze souboru '" + missing + "' nastala chyba.",
                     MessageIcon::Critical, MessageButtons::Ok});
    window.loadFile(missing);
    EXPECT_EQ(form.record(), saved);
}

TEST_F(FileCommandsTest, ASavedFileLoadsBackIntoTheWindow) {
    typeInto("tabJmenoStanice", "Sklad Brno");
    typeInto("rtNotAuthorized", "Pristup odepren");
    form.setText({TextField::tabINPNazev, 3}, "DVERE");
    QTest::mouseClick(control<QCheckBox>("tabPrepnoutNepovolPristup"), Qt::LeftButton);
    const SettingsRecord saved = form.record();
    const std::string name = path("nastavení.eep");

    dialogs.answers = {name};
    click("btFileSave");
    EXPECT_EQ(contentOf(QString::fromStdString(name)).size(), form.imageUsage() - 1);

    typeInto("tabJmenoStanice", "Jinde");
    form.setText({TextField::tabINPNazev, 3}, "");
    control<QTabWidget>("TabList")->setCurrentIndex(2);
    dialogs.answers = {name};
    boxes.expectBox(unsavedQuestion("ORB - Načítání souboru"), Answer::No);
    boxes.expectBox({"ORB - Načítání souboru", "Data ze souboru '" + name + "' byla úspěšně načtena.",
                     MessageIcon::Information, MessageButtons::Ok});
    click("btFileLoad");
    EXPECT_EQ(form.record(), saved);
    EXPECT_EQ(control<QLineEdit>("tabJmenoStanice")->text(), "Sklad Brno");
    EXPECT_EQ(control<QLineEdit>("tabINPNazev_3")->text(), "DVERE");
    EXPECT_TRUE(control<QCheckBox>("tabPrepnoutNepovolPristup")->isChecked());
    EXPECT_EQ(control<QTabWidget>("TabList")->currentIndex(), 0);
    EXPECT_FALSE(window.findChild<QWidget*>("Info")->isVisible());
}

TEST_F(FileCommandsTest, DecliningTheOverwriteOrCancellingLeavesTheFileAlone) {
    const std::string name = path("stary.eep");
    QFile old(QString::fromStdString(name));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();

    dialogs.answers = {name, std::nullopt, std::nullopt};
    boxes.expectBox({"Ukládání", "Tento soubor již existuje. Mám ho přepsat?", MessageIcon::Question,
                     MessageButtons::YesNo},
                    Answer::No);
    click("btFileSave");
    click("btFileSave");
    click("btFileLoad");
    EXPECT_EQ(contentOf(QString::fromStdString(name)), "old content");
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(FileCommandsTest, AFileThatCannotBeWrittenIsReported) {
    // A folder that is really a file cannot hold a new file, whoever runs the test.
    QFile notAFolder(folder.filePath("soubor"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    const std::string name = path("soubor/nastaveni.eep");
    dialogs.answers = {name};
    boxes.expectBox({"ORB - Ukládání souboru",
                     "Při ukládání nastavení programu do souboru '" + name + "' nastala chyba. '" +
                         path("soubor") + "' není složka.",
                     MessageIcon::Critical, MessageButtons::Ok});
    click("btFileSave");
    EXPECT_FALSE(window.findChild<QWidget*>("Info") && window.findChild<QWidget*>("Info")->isVisible());
}

TEST_F(FileCommandsTest, TheSaveDialogAddsTheSuffixToANameTypedWithoutIt) {
    QtFileDialogs qtDialogs(&window, history, [] { return QString(); });
    whenModalShows([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        EXPECT_EQ(files.nameFilters(), QStringList{"EEPROM (*.eep)"});
        files.selectFile(folder.filePath("zaloha"));
        dialog.accept();
    });
    EXPECT_EQ(qtDialogs.chooseSaveFile(), path("zaloha.eep"));
}

TEST_F(FileCommandsTest, TheOpenDialogShowsSizesTypesAndDatesInCzechWhateverTheSessionsLanguage) {
    // The tests run under LC_ALL=C.UTF-8, where Qt's columns would read "2,100 bytes", "Folder" and "Dec".
    QFile file(folder.filePath("chata.eep"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2100, '\0'));
    const QDateTime modified(QDate(2024, 12, 7), QTime(10, 15));
    file.flush(); // a write after the time would set it anew
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime)); // only while it is open
    file.close();
    ASSERT_TRUE(QDir(folder.path()).mkdir("zalohy"));

    QtFileDialogs qtDialogs(&window, history, [] { return QString(); });
    whenModalShows([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        files.setDirectory(folder.path());
        QAbstractProxyModel* columns = files.proxyModel();
        ASSERT_TRUE(columns);
        auto* model = qobject_cast<QFileSystemModel*>(columns->sourceModel());
        ASSERT_TRUE(model);
        const auto shown = [&](const QString& name, int column) {
            return columns->mapFromSource(model->index(folder.filePath(name), column)).data().toString();
        };
        // The model learns the files' details on a thread of its own.
        for (int tries = 0; tries < 100 && shown("chata.eep", 3).isEmpty(); ++tries)
            QTest::qWait(20);
        EXPECT_EQ(shown("chata.eep", 1), QLocale(QLocale::Czech).formattedDataSize(2100));
        EXPECT_EQ(shown("chata.eep", 3), QLocale(QLocale::Czech).toString(modified, QLocale::ShortFormat));
        EXPECT_EQ(shown("zalohy", 2), "Složka");
        EXPECT_EQ(shown("chata.eep", 2), "Soubor nastavení ORB");
        dialog.reject();
    });
    EXPECT_EQ(qtDialogs.chooseOpenFile(), std::nullopt);
}

const Message Unsaved = unsavedQuestion("ORB - ukončení programu");

TEST_F(FileCommandsTest, ExitOffersToSaveChangedSettingsAndEndsOnlyOnceTheyAreSaved) {
    typeInto("tabJmenoStanice", "Chata");
    boxes.expectBox(Unsaved, Answer::Cancel);
    control<QPushButton>("btKonec")->click();
    EXPECT_TRUE(window.isVisible());

    dialogs.answers = {std::nullopt}; // the save dialog is cancelled: the settings stay unsaved
    boxes.expectBox(Unsaved, Answer::Yes);
    control<QPushButton>("btKonec")->click();
    EXPECT_TRUE(window.isVisible());

    dialogs.answers = {path("chata.eep")};
    boxes.expectBox(Unsaved, Answer::Yes);
    control<QPushButton>("btKonec")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(contentOf(folder.filePath("chata.eep")).isEmpty());
}

TEST_F(FileCommandsTest, ALoadedOrSavedFileLeavesNothingToAskAboutUntilAnEdit) {
    dialogs.answers = {path("default.eep")};
    click("btFileSave");
    window.close(); // nothing changed since the save: no question
    EXPECT_FALSE(window.isVisible());

    window.show();
    typeInto("tabPIN", "1234");
    dialogs.answers = {path("default.eep")};
    boxes.expectBox(unsavedQuestion("ORB - Načítání souboru"), Answer::No);
    boxes.expectBox({"ORB - Načítání souboru",
                     "Data ze souboru '" + path("default.eep") + "' byla úspěšně načtena.",
                     MessageIcon::Information, MessageButtons::Ok});
    click("btFileLoad");
    EXPECT_EQ(form.text({TextField::tabPIN}), "");
    window.close(); // the decoder filled the window, which is no change
    EXPECT_FALSE(window.isVisible());

    // The close box asks too; its Storno keeps the window, its No closes it without a file.
    window.show();
    typeInto("tabPIN", "1234");
    boxes.expectBox(Unsaved, Answer::Cancel);
    window.close();
    EXPECT_TRUE(window.isVisible());
    boxes.expectBox(Unsaved, Answer::No);
    window.close();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace orb
