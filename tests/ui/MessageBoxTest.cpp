#include "SkinFixture.h"

#include "core/AppSettings.h"
#include "ui/ECButton.h"
#include "ui/ECPanel.h"
#include "ui/FormInfoBox.h"
#include "ui/HtmlView.h"

#include <QDir>
#include <QTextBlock>
#include <QTextDocument>

#include <thread>

#include <algorithm>

namespace pavlora::test {
namespace {

TAppSettings Settings(std::initializer_list<std::pair<const char*, const char*>> values = {})
{
    TNameValueList list;
    for (const auto& [name, value] : values)
        list.SetValue(QLatin1String(name), QString::fromUtf8(value));
    return TAppSettings(list);
}

// What the answerer saw of the box it answered.
struct Seen {
    QStringList captions; // left to right
    QStringList imageIds;
    QList<int> lefts;
    QList<int> widths;
    int clientWidth = 0;
    QSize size;
    QString header;
    QString headerImage;
    QString plainText;
    bool arranged = false;
};

// Answers the next box by pressing `caption`, or closing its window when
// `caption` is empty, and records what it saw.
void AnswerWith(const QString& caption, Seen& seen)
{
    TFormInfoBox::SetAnswerer([caption, &seen](TFormInfoBox& box) {
        QList<TECButton*> buttons = box.Buttons();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        for (const TECButton* button : buttons) {
            seen.captions.append(button->text());
            seen.imageIds.append(button->IndivImageId());
            seen.lefts.append(button->x());
            seen.widths.append(button->width());
        }
        seen.clientWidth = box.BottomPanel()->contentsRect().width();
        seen.size = box.size();
        seen.header = box.HeaderButton()->text();
        seen.headerImage = box.HeaderButton()->IndivImageId();
        seen.plainText = box.Browser()->toPlainText();
        seen.arranged = box.Arranged();
        if (caption.isEmpty())
            box.close();
        else
            EXPECT_TRUE(box.Press(caption)) << caption.toStdString();
    });
}

class MessageBoxTest : public StandardSkinFixture { };

struct ButtonSetCase {
    std::string name;
    QList<TAppMsgDlgBtn> buttons;
    bool reversed;
    QString press; // empty: close the window
    QStringList captions; // left to right
    int result;
};

class MessageBoxButtonsTest : public MessageBoxTest, public ::testing::WithParamInterface<ButtonSetCase> { };

TEST_P(MessageBoxButtonsTest, ShowsButtonsInOrderAndReturnsTheResult)
{
    const ButtonSetCase& c = GetParam();
    Seen seen;
    AnswerWith(c.press, seen);
    TMessageBoxRequest request;
    request.text = QStringLiteral("Frage");
    request.buttons = c.buttons;
    const int result = ShowMessageBox(request, Settings({{"reverse_dialog_button_order", c.reversed ? "1" : "0"}}));
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(seen.captions, c.captions);
    EXPECT_TRUE(seen.arranged || c.captions.isEmpty());
    // Right-aligned row: the last button 10 from the right edge, 10 between buttons.
    TMessageButtonRow row;
    EXPECT_EQ(seen.lefts, ArrangeButtonRow(seen.widths, seen.clientWidth, row));
}

INSTANTIATE_TEST_SUITE_P(ButtonSets, MessageBoxButtonsTest,
    ::testing::Values(ButtonSetCase{"YesNo", {bYes, bNo}, false, QStringLiteral("Ja"),
                          {QStringLiteral("Ja"), QStringLiteral("Nein")}, 6},
        ButtonSetCase{"YesNoReversed", {bYes, bNo}, true, QStringLiteral("Ja"),
            {QStringLiteral("Nein"), QStringLiteral("Ja")}, 6},
        ButtonSetCase{"NoAnswersSeven", {bYes, bNo}, false, QStringLiteral("Nein"),
            {QStringLiteral("Ja"), QStringLiteral("Nein")}, 7},
        ButtonSetCase{
            "WindowClose", {bOK, bCancel}, false, QString(), {QStringLiteral("OK"), QStringLiteral("Abbrechen")}, 2},
        ButtonSetCase{"OnlyHelpShowsNoButton", {bHelp}, false, QString(), {}, 2},
        ButtonSetCase{"EmptyList", {}, false, QString(), {}, 2},
        ButtonSetCase{"SaveNotSaveCancel", {bSave, bNotSave, bCancel}, false, QStringLiteral("Nicht speichern"),
            {QStringLiteral("Speichern"), QStringLiteral("Nicht speichern"), QStringLiteral("Abbrechen")}, 101},
        ButtonSetCase{"UpdateSkip", {bUpdate, bSkip}, false, QStringLiteral("Überspringen"),
            {QStringLiteral("Aktualisieren"), QStringLiteral("Überspringen")}, 7},
        ButtonSetCase{"RetryAbortIgnore", {bRetry, bAbort, bIgnore}, false, QStringLiteral("Wiederholen"),
            {QStringLiteral(" Wiederholen "), QStringLiteral("Abbrechen"), QStringLiteral("Ignorieren")}, 4},
        ButtonSetCase{"AbortIsThree", {bAbort}, false, QStringLiteral("Abbrechen"), {QStringLiteral("Abbrechen")}, 3},
        ButtonSetCase{"ToAllMakeNoButtons", {bAll, bNoToAll, bClose, bYesToAll}, false, QStringLiteral("Schließen"),
            {QStringLiteral("Schließen")}, 1},
        ButtonSetCase{"Next", {bNext}, false, QStringLiteral("Weiter"), {QStringLiteral("Weiter")}, 102}),
    CaseName());

TEST_F(MessageBoxTest, RowFollowsThePositionSetting)
{
    Seen seen;
    AnswerWith(QStringLiteral("OK"), seen);
    TMessageBoxRequest request;
    request.buttons = {bOK, bCancel};
    ShowMessageBox(request, Settings({{"info_box_buttons_position", "CENTER"}, {"info_box_buttons_space", "20"}}));
    ASSERT_EQ(seen.lefts.size(), 2);
    TMessageButtonRow row;
    row.position = TButtonRowPosition::Center;
    row.space = 20;
    EXPECT_EQ(seen.lefts, ArrangeButtonRow(seen.widths, seen.clientWidth, row));
    EXPECT_EQ(seen.lefts[1] - seen.lefts[0], seen.widths[0] + 20);
}

TEST_F(MessageBoxTest, HeaderAndButtonPicturesFollowTheKind)
{
    Seen seen;
    AnswerWith(QStringLiteral("Aktualisieren"), seen);
    TMessageBoxRequest request;
    request.buttons = {bUpdate, bNo};
    request.kind = MessageKind::Confirmation;
    EXPECT_EQ(ShowMessageBox(request, Settings()), 6);
    EXPECT_EQ(seen.header, QStringLiteral("Bestätigung"));
    EXPECT_EQ(seen.headerImage, QStringLiteral("MsgDlgConfirm"));
    EXPECT_EQ(seen.imageIds, (QStringList{QStringLiteral("Update"), QStringLiteral("Cancel")}));
}

struct SizeCase {
    std::string name;
    int width;
    int height;
    QSize expected;
};

class MessageBoxSizeTest : public MessageBoxTest, public ::testing::WithParamInterface<SizeCase> { };

TEST_P(MessageBoxSizeTest, SizeAboveHundredReplacesTheDesignedSize)
{
    Seen seen;
    AnswerWith(QStringLiteral("OK"), seen);
    TMessageBoxRequest request;
    request.buttons = {bOK};
    request.width = GetParam().width;
    request.height = GetParam().height;
    ShowMessageBox(request, Settings());
    EXPECT_EQ(seen.size, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MessageBoxSizeTest,
    ::testing::Values(SizeCase{"Designed", 0, 0, {396, 264}}, SizeCase{"HundredKeeps", 100, 100, {396, 264}},
        SizeCase{"HundredOneApplies", 101, 101, {101, 101}}, SizeCase{"Given", 425, 332, {425, 332}}),
    CaseName());

TEST(MessageBoxText, TextFormsWrapTheText)
{
    EXPECT_EQ(TFormInfoBox::HtmlFor(QStringLiteral("a<br>b"), MessageTextForm::Plain),
        QStringLiteral("<html><body>a<br>b</body></html>"));
    EXPECT_EQ(TFormInfoBox::HtmlFor(QStringLiteral("a<br>b"), MessageTextForm::Bold),
        QStringLiteral("<html><body><b>a<br>b</b></body></html>"));
    EXPECT_EQ(TFormInfoBox::HtmlFor(QStringLiteral("x"), MessageTextForm::BoldAlso),
        TFormInfoBox::HtmlFor(QStringLiteral("x"), MessageTextForm::Bold));
    EXPECT_EQ(TFormInfoBox::HtmlFor(QStringLiteral("<p>x</p>"), MessageTextForm::Html), QStringLiteral("<p>x</p>"));
}

TEST(MessageBoxText, BoldFormMakesBothLinesBold)
{
    QTextDocument document;
    document.setHtml(TFormInfoBox::HtmlFor(QStringLiteral("eins<br>zwei"), MessageTextForm::Bold));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("eins\nzwei"));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            EXPECT_EQ(fragment.fragment().charFormat().fontWeight(), QFont::Bold);
}

TEST_F(MessageBoxTest, FileFormReadsThePageOfTheCurrentFolder)
{
    const QString folder = MakeFolder(QStringLiteral("pages"));
    WriteFile(folder + QStringLiteral("/info.htm"), "<html><body>Seite aus Datei</body></html>");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    Seen seen;
    AnswerWith(QStringLiteral("OK"), seen);
    TMessageBoxRequest request;
    request.text = QStringLiteral("info.htm");
    request.textForm = MessageTextForm::File;
    request.buttons = {bOK};
    ShowMessageBox(request, Settings());
    QDir::setCurrent(previous);
    EXPECT_EQ(seen.plainText, QStringLiteral("Seite aus Datei"));
}

TEST_F(MessageBoxTest, TheHookShowsTheBox)
{
    Seen seen;
    AnswerWith(QStringLiteral("Nein"), seen);
    RegisterMessageBoxHook(Settings(), nullptr);
    EXPECT_EQ(ShowAppMessageBox(
                  QStringLiteral("Titel"), QStringLiteral("Text <b>fett</b>"), {bYes, bNo}, MessageKind::Warning),
        7);
    SetMessageBoxHook({});
    EXPECT_EQ(seen.plainText, QStringLiteral("Text fett"));
    EXPECT_EQ(seen.header, QStringLiteral("Warnung"));
}

TEST_F(MessageBoxTest, NoBoxOutsideTheUiThread)
{
    int result = -1;
    std::thread worker([&] {
        TMessageBoxRequest request;
        request.buttons = {bOK};
        result = ShowMessageBox(request, Settings());
    });
    worker.join();
    EXPECT_EQ(result, MessageResult::None);
}

} // namespace
} // namespace pavlora::test
