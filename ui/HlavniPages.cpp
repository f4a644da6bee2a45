// Builds the four tabs of the main window: the general settings and the three eight-row tables.
#include "settings/SettingsForm.h"
#include "settings/Tables.h"
#include "ui/Hlavni.h"
#include "ui/LayoutParts.h"
#include "ui/RowKeys.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <vector>

namespace orb {

void Hlavni::buildTabs(QWidget* client) {
    rowKeys_ = new RowKeys([this](RowDialogKind kind, int row) { openRowDialog(kind, row); }, this);
    tabs_ = new QTabWidget(client);
    tabs_->setObjectName("TabList");
    placeTwips(tabs_, 120, 1200, 9015, 4215);
    std::vector<QWidget*> pages;
    tabs_->addTab(pages.emplace_back(new QWidget), "&Všeobecné");
    for (const RowTab& tab : rowTabs())
        tabs_->addTab(pages.emplace_back(new QWidget), QString::fromUtf8(tab.title));
    // The pages lie under the tab strip; the design measures their controls from the tab control's corner.
    pageOffset_ = QPoint(2, tabs_->tabBar()->sizeHint().height() + 1);
    buildGeneralPage(pages[0]);
    for (std::size_t i = 0; i < rowTabs().size(); ++i)
        buildRowPage(pages[i + 1], rowTabs()[i]);
    tabs_->setCurrentIndex(0);
    tabs_->setAccessibleName("Karty nastavení");
}

void Hlavni::buildGeneralPage(QWidget* page) {
    const auto onPage = [this](int left, int top, int width, int height) {
        return box(left - pageOffset_.x() * 15, top - pageOffset_.y() * 15, width, height);
    };

    QGroupBox* init = addFrame("frame02", "Inicializace", page, onPage(240, 420, 2655, 3525));
    addLabel("&Jméno stanice:", init, 120, 300)
        ->setBuddy(addText({TextField::tabJmenoStanice}, init, box(120, 540, 2415, FieldHeight)));
    addLabel("PI&N:", init, 120, 960)
        ->setBuddy(addText({TextField::tabPIN}, init, box(120, 1200, 855, FieldHeight)));
    QLabel* centreLabel = addLabel("Telefonní číslo servisního &centra:", init, 120, 1620);
    auto* centre = new QComboBox(init);
    centre->setObjectName("tabTCcentra");
    centre->setEditable(true);
    centre->setInsertPolicy(QComboBox::NoInsert);
    centre->setCompleter(nullptr);
    for (std::string_view number : ServiceCentreNumbers)
        centre->addItem(QString::fromUtf8(number.data(), number.size()));
    centre->setCurrentIndex(-1);
    placeTwips(centre, 120, 1860, 2430, ComboHeight);
    centreLabel->setBuddy(centre);
    bindText({TextField::tabTCcentra}, centre, centre->lineEdit());
    nameChoiceList(centre, "Telefonní číslo servisního centra");
    centre->lineEdit()->setAccessibleName("Telefonní číslo servisního centra");
    connect(centre, &QComboBox::textActivated, this,
            [this](const QString& text) { form_->setText({TextField::tabTCcentra}, text.toStdString()); });

    QGroupBox* sms = addFrame("Frame5", "SMS zprávy", page, onPage(3000, 420, 5775, 735));
    QLabel* before = addLabel("Doba &platnosti SMS zprávy je", sms, 120, 360);
    const int fieldLeft = (before->x() + before->width() + 4) * 15;
    QLineEdit* validity =
        addText({TextField::tabDobaPlatnostiSMS}, sms, box(fieldLeft, 315, 350, FieldHeight));
    validity->setAlignment(Qt::AlignRight);
    before->setBuddy(validity);
    addLabel("dnů  (1-30).", sms, fieldLeft + 350 + 60, 360);

    QGroupBox* options = addFrame("Frame4", "", page, onPage(3000, 1200, 5775, 2750));
    const int checkWidth = 5535;
    addFlag(FlagField::tabBezpecRezim, 0, "Používat bezpečný režim", options,
            box(120, 180, checkWidth, CheckHeight))
        ->setEnabled(false);
    addFlag(FlagField::tabPrepnoutJTS, 0, "Přepnout poplachovou ústřednu do JTS, pokud ústředna vytočí číslo",
            options, box(120, 540, 4920, CheckHeight))
        ->hide();
    QLineEdit* jtsNumber =
        addText({TextField::tabPrepnoutJTSCislo}, options, box(5160, 525, 255, FieldHeight));
    jtsNumber->setAccessibleName("Číslo, po kterém se ústředna přepne do JTS");
    jtsNumber->hide();
    addFlag(FlagField::tabOdpovidatT0, 0, "&Hlášení o stavu posílat i na telefonní číslo T0", options,
            box(120, 900, checkWidth, CheckHeight));
    addFlag(FlagField::tabPrepnoutNepovolPristup, 0,
            "Hlášení o nep&ovoleném přístupu posílat i na telefonní číslo T0", options,
            box(120, 1260, checkWidth, CheckHeight));
    addFlag(FlagField::opNotAuthorized, 0, "Posí&lat hlášení, že není povolen přístup", options,
            box(120, 1620, checkWidth, CheckHeight));
    txtNotAuthorized_ = addLabel("T&ext hlášení o nepovolení přístupu ........", options, 120, 2040);
    txtNotAuthorized_->setObjectName("txtNotAuthorized");
    txtNotAuthorized_->setBuddy(
        addText({TextField::rtNotAuthorized}, options, box(120, 2280, 2295, FieldHeight)));
}

void Hlavni::buildRowPage(QWidget* page, const RowTab& tab) {
    const int dx = pageOffset_.x() * 15;
    const int dy = pageOffset_.y() * 15;
    for (const ColumnCaption& caption : tab.captions) {
        QLabel* label = addLabel(QString::fromUtf8(caption.text), page, caption.left - dx, caption.top - dy);
        if (caption.width > 0) {
            // Wrapped over two lines, ending where the one-line captions end.
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
            placeTwips(label, caption.left - dx, caption.top - dy, caption.width,
                       660 + LabelHeight - caption.top);
        }
        label->setVisible(!caption.hidden);
        label->setEnabled(!caption.disabled);
    }
    auto* line = new QFrame(page);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    placeTwips(line, 60 - dx, 900 - dy, 8895, 30);

    for (int row = 0; row < RowCount; ++row) {
        const int top = RowTop + RowPitch * row - dy;
        const QString rowLabel = QString::fromUtf8(tab.rowPrefix) + QString::number(row);
        for (std::size_t index = 0; index < tab.columns.size(); ++index) {
            const RowColumn& column = tab.columns[index];
            const QRect cell = box(column.left - dx, top, column.width, FieldHeight);
            QWidget* control = nullptr;
            switch (column.kind) {
            case ColumnKind::RowLabel: {
                auto* label = new QLabel(rowLabel, page);
                // Centred in its width, or, without one, starting at its left edge.
                label->setAlignment((column.width > 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
                placeTwips(label, cell.x(), cell.y(), cell.width(), cell.height());
                if (column.width == 0) label->resize(label->sizeHint().width(), label->height());
                control = label;
                break;
            }
            case ColumnKind::Text:
                control = addText({column.text, row}, page, cell);
                break;
            case ColumnKind::Check:
                control = addFlag(column.flag, row, "", page, cell);
                break;
            case ColumnKind::Button: {
                auto* button = new QPushButton("Změnit", page);
                placeTwips(button, cell.x(), cell.y() + 15, column.width, 255);
                connect(button, &QPushButton::clicked, this,
                        [this, kind = tab.dialog, row] { openRowDialog(kind, row); });
                control = button;
                break;
            }
            }
            control->setObjectName(rowControlName(column.name, row));
            // Read out with its row, the way the eye finds it: "T3 telefonní číslo", "Změnit T3".
            const QString spoken = QString::fromUtf8(column.spoken);
            if (column.kind == ColumnKind::Button)
                control->setAccessibleName(spoken + ' ' + rowLabel);
            else if (column.kind != ColumnKind::RowLabel)
                control->setAccessibleName(rowLabel + ' ' + spoken);
            if (column.kind != ColumnKind::RowLabel)
                rowKeys_->add(control, tab.dialog, static_cast<int>(index), row);
            control->setVisible(!column.hidden);
            control->setEnabled(!column.disabled);
        }
    }
    QLabel* footnote =
        addLabel(QString::fromUtf8(tab.footnote), page, tab.footnoteLeft - dx, FootnoteTop - dy);
    if (tab.dialog == RowDialogKind::Phone)
        footnote->setBuddy(addText({TextField::tabUTO}, page, box(3360 - dx, 3825 - dy, 495, FieldHeight)));
}

} // namespace orb
