#include "ui/StartFrame.h"

#include "ui/ECButton.h"
#include "ui/ECLabel.h"
#include "ui/ECPanel.h"
#include "ui/MainForm.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace pavlora {

namespace {

struct TTile {
    const char* name;
    const char* caption; // UTF-8
    const char* imageId;
    const char* command;
};

constexpr TTile kTiles[] = {
    {"PrintsTile", "Abzüge bestellen", "Start_Prints", "ViewGroup(Prints)"},
    {"PhotobookTile", "Fotobuch gestalten", "Start_Photobook", "ViewGroup(PhotoBooks)"},
    {"ProductsTile", "Fotogeschenke", "Start_Products", "ViewGroup(Products)"},
    {"OrganizingTile", "Bilder verwalten", "Start_Organizing", "Organizing"},
};

} // namespace

TStartFrame::TStartFrame(TMainForm& mainForm, QWidget* parent)
    : TWorkFrame(parent)
    , mainForm_(mainForm)
{
    setObjectName(QStringLiteral("StartFrame"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* page = new TECPanel(this);
    page->setObjectName(QStringLiteral("StartPanel"));
    page->SetStyleName(QStringLiteral("StartPage"));
    outer->addWidget(page);

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(48, 40, 48, 40);
    column->setSpacing(12);
    auto* heading = new TECLabel(page);
    heading->setObjectName(QStringLiteral("HeadingLabel"));
    heading->SetStyleName(QStringLiteral("StartHeading"));
    heading->setText(QStringLiteral("Willkommen!"));
    column->addWidget(heading);
    auto* intro = new TECLabel(page);
    intro->setObjectName(QStringLiteral("IntroLabel"));
    intro->SetStyleName(QStringLiteral("StartText"));
    intro->setWordWrap(true);
    intro->setText(QStringLiteral("Wählen Sie, was Sie aus Ihren Fotos machen möchten."));
    column->addWidget(intro);
    column->addSpacing(16);

    auto* grid = new QGridLayout();
    grid->setSpacing(20);
    int index = 0;
    for (const TTile& tile : kTiles) {
        auto* button = new TECButton(page);
        button->setObjectName(QLatin1String(tile.name));
        button->SetStyleName(QStringLiteral("StartTile"));
        button->SetIndivImageId(QLatin1String(tile.imageId));
        button->setText(QString::fromUtf8(tile.caption));
        button->setToolTip(QLatin1String(tile.command));
        const QString command = QLatin1String(tile.command);
        connect(button, &TECButton::clicked, this, [this, command] { mainForm_.ExecuteCommandText(command); });
        grid->addWidget(button, index / 2, index % 2);
        tiles_.append(button);
        ++index;
    }
    column->addLayout(grid);
    column->addStretch(1);
    UpdateTiles();
}

void TStartFrame::Activate(int /*reason*/)
{
    // Shown, or the catalogue or the registered pages changed.
    UpdateTiles();
}

void TStartFrame::UpdateTiles()
{
    const TCommandVocabulary& vocabulary = mainForm_.Vocabulary();
    for (TECButton* tile : std::as_const(tiles_)) {
        const auto number = vocabulary.Find(SplitCommandText(tile->toolTip()).name);
        tile->setEnabled(number && mainForm_.CanRun(*number));
    }
}

} // namespace pavlora
