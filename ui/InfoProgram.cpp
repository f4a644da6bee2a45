#include "ui/InfoProgram.h"

#include "ui/PaintedIcons.h"
#include "ui/ScreenCentre.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

namespace orb {
namespace {

/// The lines of the program text, as the window shows them.
QStringList programText() {
    const QString rule(92, '-');
    return {"",
            "ORB verze 1.01",
            "Linuxová verze pro Qt 6",
            "",
            "Program umožňuje naprogramovat EEPROM zařízení ORB a ",
            "ORBTONE",
            rule,
            "Verze procesoru zařízení 1.2 a vyšší",
            "Verze komunikačního protokolu 1.15",
            rule,
            "Spojení se zařízením: sériový port, 19200 Bd",
            "14.3.1999",
            ""};
}

} // namespace

InfoProgram::InfoProgram(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("InfoProgram");
    setWindowTitle("Informace o programu ORB");
    setWindowIcon(paintedIcon(Picture::Unit));
    setFixedSize(twips(5550), twips(3645));

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setPixmap(paintedIcon(Picture::Unit).pixmap(QSize(60, 58)));
    placeTwips(picture, 120, 120, 960, 930);

    auto* product = new QLabel("ORB\nORBTONE\nGSM komunikátor\nverze 1.01", this);
    placeTwips(product, 1200, 240, 1590, 780);
    auto* program = new QLabel("Inicializační program\npro zařízení ORB\na ORBTONE\nLinuxová verze", this);
    placeTwips(program, 3240, 240, 2190, 780);

    auto* text = new QTextEdit(this);
    text->setObjectName("Text1");
    text->setAccessibleName("Text o programu");
    text->setReadOnly(true);
    // The rules of dashes stay one line each; they may lose a dash or two at the edge.
    text->setLineWrapMode(QTextEdit::NoWrap);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setPlainText(programText().join('\n'));
    text->selectAll();
    text->setAlignment(Qt::AlignHCenter);
    text->moveCursor(QTextCursor::Start);
    placeTwips(text, 120, 1200, 5295, 1770);

    auto* close = new QPushButton("&Zavřít", this);
    close->setObjectName("blZavrit");
    close->setDefault(true);
    placeTwips(close, 2100, 3120, 1335, 375);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

void InfoProgram::showModal() {
    centreOnScreen(this);
    exec();
}

} // namespace orb
