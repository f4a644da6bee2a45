#pragma once

#include "settings/FormView.h"
#include "ui/Info.h"
#include "ui/MessageBoxPrompter.h"
#include "ui/PagesLocked.h"
#include "ui/RowTables.h"
#include "ui/WindowActivity.h"
#include "ui/WindowCommands.h"
#include "ui/WindowFileDialogs.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <QElapsedTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;

namespace orb {

class EepromImage;
class FieldFocus;
class InfoProgram;
class RowDialog;
class RowKeys;
class SettingsForm;

/// The main window "Hlavni": every setting of the unit as one of its controls, the connection state,
/// the identity of the attached unit and every command.
///
/// Every control carries its own name as its object name. A control of a row array carries the array's
/// name, an underscore and the row: tabTC(3) is "tabTC_3" (rowControlName). The controls mirror the
/// SettingsForm: only the signals of the user's own edits (textEdited, clicked, activated) call the form's
/// setters, and the form's change notifications update the controls with setText, setChecked and
/// setCurrentIndex, which raise none of those signals, so an update never re-enters the form.
class Hlavni : public QWidget, public FormView {
  public:
    explicit Hlavni(EepromImage& image, QWidget* parent = nullptr);
    ~Hlavni() override;

    SettingsForm& form() { return *form_; }
    /// The progress window the long operations show.
    Progress& progress() { return info_; }
    StopToken& stop() { return stop_; }
    /// The device-link and printer commands, plugged in by main().
    WindowCommands& commands() { return commands_; }
    /// Answers the message boxes with another prompter (tests); nullptr shows real boxes again.
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    /// Chooses the settings files with other dialogs (tests); nullptr shows Qt's file dialogs again.
    void setFileDialogs(FileDialogs* dialogs) { fileDialogs_.setDialogs(dialogs); }

    /// Fills tabPort with the entries of commands().listPorts, with the form's choice selected; main() calls
    /// it at start and the list calls it each time it opens. Nothing changes while a command runs.
    void refreshPorts();

    /// The name of the file the settings were last loaded from or saved to, without its folder; empty when
    /// none holds them (at start, after a read of the unit).
    std::string settingsFileName() const;

    /// Loads the settings file as the load command does once its dialog has chosen the file; main() calls
    /// it for the file named on the command line, once the window is up, and a drop for the file dropped.
    void loadFile(const std::string& name);

    /// Ends the program as a stop signal asks (a logout, a service manager): presses Storno for a running
    /// exchange, closes open dialogs, takes the unit out of programming mode and closes the window, all
    /// without asking anything, since nobody may be there to answer.
    void stopOnSignal();

    /// Edits a row in the dialog of its kind (TelCislo, Vstup, Vystup), as a double click on one of the
    /// row's controls does; a telephone row's flags are checked afterwards.
    void openRowDialog(RowDialogKind kind, int row);

    Answer ask(const Message& message) override;
    void selectTab(int tab) override;
    void focusField(TextRef field) override;
    void textChanged(TextRef field) override;
    void flagChanged(FlagField field, int row) override;
    void choiceChanged(ChoiceField field) override;
    void displayChanged() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    /// A settings file dragged from a file manager is taken by the window, never by the field under it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    /// A dropped settings file loads as the load button loads a file once chosen.
    void dropEvent(QDropEvent* event) override;

  private:
    struct TextControl {
        QWidget* control = nullptr; ///< what takes the focus: the field, or the editable combo
        QLineEdit* edit = nullptr;
    };

    // Building the window (HlavniLayout.cpp)
    void buildConnection(QWidget* client);
    void buildInformation(QWidget* client);
    void buildTabs(QWidget* client);
    void buildGeneralPage(QWidget* page);
    void buildRowPage(QWidget* page, const RowTab& tab);
    void buildCommands(QWidget* client);
    void buildHiddenFrames(QWidget* client);
    void setKeyboardOrder();
    QLabel* addLabel(const QString& text, QWidget* parent, int left, int top);
    QLineEdit* addText(TextRef ref, QWidget* parent, QRect twipsGeometry);
    QCheckBox* addFlag(FlagField field, int row, const QString& caption, QWidget* parent,
                       QRect twipsGeometry);
    QComboBox* addChoice(ChoiceField field, QWidget* parent, QRect twipsGeometry, QComboBox* combo = nullptr);
    QToolButton* addPictureButton(const char* name, QWidget* parent, QRect twipsGeometry);

    // Reacting (Hlavni.cpp)
    void bindText(TextRef ref, QWidget* control, QLineEdit* edit);
    /// The gate of every command: no rule's box is open, and the field being left lets its value go.
    bool leaveFieldForCommand();
    void runCommand(const std::function<void()>& command);
    /// Runs an exchange with the unit as a command, with the settings of the tabs locked until it ends.
    void runExchange(const std::function<void()>& exchange);
    /// Runs an exchange with the unit inside a command, with the settings of the tabs locked until it ends.
    void whilePagesLocked(const std::function<void()>& exchange);
    /// Greys out, while an exchange runs, the commands that it makes the window ignore; shows them as the
    /// link state has them otherwise.
    void showCommandsLocked(bool locked);
    void reportErrors(const std::function<void()>& command);

    // Settings files (HlavniFiles.cpp)
    void buildFileParts();
    void loadFile();
    void saveFile();
    /// Names the window's file in the title, marked while the settings differ from what it holds.
    void showTitle();
    /// Tells for a while, in the tab strip's free room, which file the settings were just saved to.
    void showSavedSign();

    /// Reads the unit (btEEPROMLoad) once changed settings were offered for saving.
    void loadFromUnit();
    /// Writes the unit (btEEPROMSave), with a question before Storno stops the write.
    void saveToUnit();
    void showInfoProgram();
    /// Asks whether to save changed settings and to leave programming mode, with buttons for the
    /// question about the unit; true when the window may close.
    bool endConfirmed(MessageButtons buttons);
    void showAll();
    TextControl& textControl(TextRef ref);
    QCheckBox*& flagControl(FlagField field, int row);

    EepromImage& image_;
    WindowActivity activity_;
    int boxesOpen_ = 0; ///< message boxes open now, of a rule or of a command
    WindowCommands commands_;
    MessageBoxPrompter boxes_;
    Prompter* prompter_ = nullptr;
    StopToken stop_; ///< what the progress window's Storno and a stop signal ask of the link
    Info info_;
    FieldFocus* focus_;
    WindowFileDialogs fileDialogs_;
    std::unique_ptr<SettingsForm> form_;

    std::array<std::array<TextControl, RowCount>, std::size(AllTextFields)> texts_{};
    std::array<std::array<QCheckBox*, RowCount>, std::size(AllFlagFields)> flags_{};
    std::array<QComboBox*, std::size(AllChoiceFields)> choices_{};

    QTabWidget* tabs_ = nullptr;
    RowKeys* rowKeys_ = nullptr;
    QPoint pageOffset_; ///< where the pages lie in the tab control, in pixels
    QToolButton* btDEA_ = nullptr;
    QElapsedTimer deaCaptionChanged_; ///< since btDEA last changed its caption (the link state)
    QLabel* tabDeAktivNapis_ = nullptr;
    QLabel* lblInfoProdukt_ = nullptr;
    QLabel* lblInfoVerze_ = nullptr;
    QLabel* lblInfoModem_ = nullptr;
    QLabel* lblInfoPamSize_ = nullptr;
    QLabel* lblInfoPamUsage_ = nullptr;
    QLabel* lblInfoPamFree_ = nullptr;
    QToolButton* btFileLoad_ = nullptr;
    QToolButton* btFileSave_ = nullptr;
    QToolButton* btEEPROMLoad_ = nullptr;
    QToolButton* btEEPROMSave_ = nullptr;
    QToolButton* btTisk_ = nullptr;
    QPushButton* btInformace_ = nullptr;
    QPushButton* btKonec_ = nullptr;
    QLabel* txtNotAuthorized_ = nullptr;
    QLabel* savedSign_ = nullptr;
    QTimer* savedSignTimer_ = nullptr;
    QMenu* recentFiles_ = nullptr;
    QList<QLabel*> existLabels_; ///< txtReCall, txteeExistTime, txt2eeExistTime
    std::array<std::unique_ptr<RowDialog>, 3> rowDialogs_;
    std::unique_ptr<InfoProgram> infoProgram_;
    std::optional<PagesLocked> pagesLocked_; ///< while an exchange with the unit runs
    bool commandsLocked_ = false;            ///< the commands are greyed out for an exchange
};

} // namespace orb
