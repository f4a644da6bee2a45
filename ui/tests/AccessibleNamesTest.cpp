// What a screen reader says of each control: every control that takes the focus, in the main window and
// in each dialog, has a name of its own that says what it is and, in a table, for which row.
#include "ui/RowTables.h"
#include "ui/tests/WindowFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QMap>

namespace orb {
namespace {

using test::whenModalShows;
using test::WindowTest;

/// What a screen reader calls a control: its name, or for a drop-down, which it reads by its current entry,
/// the caption it is labelled by.
QString accessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible) return {};
    if (accessible->role() != QAccessible::ComboBox) return accessible->text(QAccessible::Name);
    const auto labels = accessible->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.constFirst().first->text(QAccessible::Name);
}

/// The focusable controls of a window, hidden ones too, by object name (or class), with their names, and
/// the lists its drop-downs open. A control that hands the focus to another (the tab control to its
/// strip) is not one; the dialogs the window opens are not its own.
QMap<QString, QString> namesOfFocusableControls(QWidget& top) {
    QMap<QString, QString> names;
    for (QWidget* widget : top.findChildren<QWidget*>()) {
        const bool ownList = qobject_cast<QComboBox*>(widget->window()->parentWidget());
        if (widget->focusPolicy() == Qt::NoFocus || widget->focusProxy() ||
            (widget->window() != &top && !ownList))
            continue;
        QString key = widget->objectName();
        if (key.isEmpty())
            key = QString("%1 in %2")
                      .arg(widget->metaObject()->className(), widget->parentWidget()->objectName());
        names.insert(key, accessibleName(widget));
    }
    return names;
}

/// Fails on each focusable control without a name and on each name that two controls share.
void expectEachNamedOnce(QWidget& top) {
    const QMap<QString, QString> names = namesOfFocusableControls(top);
    EXPECT_FALSE(names.isEmpty());
    QMap<QString, QStringList> owners;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        EXPECT_FALSE(it.value().trimmed().isEmpty())
            << top.objectName().toStdString() << ": " << it.key().toStdString() << " has no name";
        owners[it.value()] << it.key();
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        EXPECT_EQ(it->size(), 1) << top.objectName().toStdString() << ": \"" << it.key().toStdString()
                                 << "\" names " << it->join(", ").toStdString();
}

class AccessibleNamesTest : public WindowTest {};

TEST_F(AccessibleNamesTest, EveryFocusableControlOfTheMainWindowHasANameOfItsOwn) {
    expectEachNamedOnce(window);

    const std::pair<const char*, const char*> spoken[] = {
        {"tabTC_3", "T3 telefonní číslo"},
        {"tabTCPrijem_3", "T3 příjem"},
        {"tabTCUdalost_0", "T0 odesílat události"},
        {"tabTCZmenit_3", "Změnit T3"},
        {"tabINPNazev_2", "I2 název"},
        {"tabINPLHEvent_7", "I7 SMS zprávy N->A"},
        {"tabINPbt_2", "Změnit I2"},
        {"tabOUTimpulsLEN_1", "O1 doba impulsu"},
        {"tabOUTbt_0", "Změnit O0"},
        {"btFileLoad", "Načíst nastavení ze souboru"},
        {"btFileSave", "Uložit nastavení do souboru"},
        {"btEEPROMLoad", "Načíst nastavení z EEPROM"},
        {"btEEPROMSave", "Uložit nastavení do EEPROM"},
        {"btTisk", "Tisk nastavení"},
        {"btDEA", "Aktivovat"},
        {"tabPIN", "PIN:"},
        {"tabPort", "Sériový port:"},
        {"tabTCcentra", "Telefonní číslo servisního centra:"},
        {"tabUTO", "UTO země, které se vkládá před tel. číslo:"},
    };
    for (const auto& [name, words] : spoken)
        EXPECT_EQ(accessibleName(control(name)), words) << name;
}

TEST_F(AccessibleNamesTest, EveryFocusableControlOfEachDialogHasANameOfItsOwn) {
    for (const auto& open : std::initializer_list<std::function<void()>>{
             [this] { window.openRowDialog(RowDialogKind::Phone, 3); },
             [this] { window.openRowDialog(RowDialogKind::Input, 2); },
             [this] { window.openRowDialog(RowDialogKind::Output, 5); },
             [this] { control<QAbstractButton>("btInformace")->click(); }}) {
        whenModalShows([](QDialog& dialog) {
            expectEachNamedOnce(dialog);
            for (const auto& [name, words] : std::initializer_list<std::pair<const char*, const char*>>{
                     {"TC", "Telefonní číslo:"},
                     {"INPNazev", "Název:"},
                     {"INPZap", "Zapnuto:"},
                     {"INPHL", "Změna stavu AKTIVNÍ->NEAKTIVNÍ:"},
                     {"OUTimpulsLEN", "Doba trvání impulsu:"}}) {
                if (auto* field = dialog.findChild<QWidget*>(name)) {
                    EXPECT_EQ(accessibleName(field), words) << name;
                }
            }
        });
        open();
    }

    window.progress().showProgress("Načítám data z EEPROM do PC.", true);
    expectEachNamedOnce(*window.findChild<QWidget*>("Info"));
    window.progress().hideProgress();
}

} // namespace
} // namespace orb
