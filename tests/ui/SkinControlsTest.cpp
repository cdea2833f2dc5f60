#include "SkinFixture.h"

#include "skin/ECPictureResource.h"
#include "ui/ECButton.h"
#include "ui/ECLabel.h"
#include "ui/ECPanel.h"
#include "ui/FormConfigApplier.h"
#include "ui/WindowMessages.h"

#include <QApplication>
#include <QDialog>

namespace pavlora::test {
namespace {

// A window class that a form configuration names.
class TTestWindow : public QDialog {
    Q_OBJECT

public:
    TTestWindow()
    {
        resize(600, 400);
        panel = new TECPanel(this);
        panel->setObjectName(QStringLiteral("Host"));
        panel->setGeometry(0, 0, 500, 300);
        button = new TECButton(panel);
        button->setObjectName(QStringLiteral("Go"));
        button->setGeometry(10, 10, 60, 20);
        fixed = new TECButton(panel);
        fixed->setObjectName(QStringLiteral("Fixed"));
        fixed->setGeometry(10, 40, 60, 20);
        fixed->SetAvailableInDesignMode(false);
    }
    TECPanel* panel;
    TECButton* button;
    TECButton* fixed;
};

class SkinControlsTest : public SkinFixture { };

TEST_F(SkinControlsTest, FormConfigurationMovesStylesAndCreates)
{
    WriteDesign(StandardStyles() + "<panel style=\"Dark\" color=\"$00FF00\" border_left=\"4\"/>\n",
        "<form name=\"TTestWindow\">\n"
        "  <control name=\"Go\" anchors=\"TR\" left=\"100\" top=\"15\" width=\"70\" style=\"FooterMessage\" "
        "IndivImageID=\"OKF\"/>\n"
        "  <control name=\"Fixed\" left=\"200\" visible=\"false\"/>\n"
        "  <control name=\"Host\" style=\"Dark\"/>\n"
        "  <control name=\"Note\" CreateControlClass=\"TECLabel\" ParentName=\"Host\" Text=\"Zeile 1\\nZeile 2\"/>\n"
        "</form>\n"
        "<form name=\"Other\"><control name=\"Go\" left=\"1\"/></form>\n");
    StartSkin();
    TTestWindow window;
    ApplyFormConfig(window);

    // Anchored right, not left: the value counts from the right edge of the
    // parent's client area (500 less the new style's left border of 4).
    EXPECT_EQ(window.button->geometry(), QRect(396, 15, 70, 20));
    EXPECT_EQ(window.button->StyleName(), QStringLiteral("FooterMessage"));
    EXPECT_EQ(window.button->IndivImageId(), QStringLiteral("OKF"));
    EXPECT_EQ(window.fixed->geometry(), QRect(10, 40, 60, 20));
    EXPECT_FALSE(window.fixed->isHidden());
    EXPECT_EQ(window.panel->FillColor(), QColor(0, 0xFF, 0));
    EXPECT_EQ(window.panel->contentsMargins().left(), 4);
    auto* note = window.findChild<TECLabel*>(QStringLiteral("Note"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->parentWidget(), window.panel);
    EXPECT_EQ(note->text(), QStringLiteral("Zeile 1\nZeile 2"));

    // The anchored button keeps its distance to the right edge.
    window.show();
    window.panel->resize(600, 300);
    EXPECT_EQ(window.button->x(), 496);
    // Applying again creates nothing twice.
    ApplyFormConfig(window);
    EXPECT_EQ(window.findChildren<TECLabel*>(QStringLiteral("Note")).size(), 1);
}

TEST_F(SkinControlsTest, EdgeRelativeSizeCountsFromTheFarEdge)
{
    WriteDesign(StandardStyles(),
        "<form name=\"TTestWindow\"><control name=\"Go\" anchors=\"LTRB\" LRTB=\"1\" left=\"5\" top=\"6\" "
        "width=\"20\" height=\"30\"/></form>\n");
    StartSkin();
    TTestWindow window;
    ApplyFormConfig(window);
    EXPECT_EQ(window.button->geometry(), QRect(5, 6, 480, 270));
}

TEST_F(SkinControlsTest, ButtonNamesItsPicturesByState)
{
    WriteDesign(StandardStyles()
        + "<resource_manager_config><button_state_ids disabled=\"Grey\"/></resource_manager_config>\n");
    WriteFile(program_ + QStringLiteral("/Buttons/Footer_Up.png"), SolidPng(40, 30, Qt::blue));
    WriteFile(program_ + QStringLiteral("/Icons/OKF_Up.png"), SolidPng(16, 16, Qt::green));
    StartSkin();
    TECButton button;
    button.SetStyleName(QStringLiteral("FooterMessage"));
    button.SetIndivImageId(QStringLiteral("OKF"));
    button.setText(QStringLiteral("OK"));
    EXPECT_EQ(button.BackgroundPictureName(TECButton::Up), QStringLiteral("Buttons/Footer_Up.png"));
    EXPECT_EQ(button.BackgroundPictureName(TECButton::DownFocused), QStringLiteral("Buttons/Footer_Down.png"));
    EXPECT_EQ(button.IndivPictureName(TECButton::UpPressed), QStringLiteral("Icons/OKF_Press.png"));
    EXPECT_EQ(button.IndivPictureName(TECButton::Disabled), QStringLiteral("Icons/OKF_Grey.png"));
    EXPECT_EQ(button.State(), TECButton::Up);
    button.setEnabled(false);
    EXPECT_EQ(button.State(), TECButton::Disabled);
    // At least the style's minimum, at least the picture's height.
    EXPECT_GE(button.sizeHint().width(), 80);
    EXPECT_EQ(button.sizeHint().height(), 30);
}

// Counts the layout notices a window receives.
class TNoticeCounter : public QWidget {
public:
    int notices = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == static_cast<QEvent::Type>(WindowMessage::LayoutNotice)) {
            ++notices;
            return true;
        }
        return QWidget::event(event);
    }
};

TEST_F(SkinControlsTest, ButtonPostsTheLayoutNoticeOncePerWidth)
{
    WriteDesign(StandardStyles() + "<button style=\"Quiet\"/>\n");
    StartSkin();
    TNoticeCounter window;
    auto* loud = new TECButton(&window);
    loud->SetStyleName(QStringLiteral("FooterMessage"));
    loud->setGeometry(0, 0, 80, 25);
    auto* quiet = new TECButton(&window);
    quiet->SetStyleName(QStringLiteral("Quiet"));
    quiet->setGeometry(0, 30, 80, 25);
    loud->grab();
    loud->grab();
    quiet->grab();
    QApplication::processEvents();
    EXPECT_EQ(window.notices, 1);
    loud->resize(90, 25);
    loud->grab();
    QApplication::processEvents();
    EXPECT_EQ(window.notices, 2);
}

TEST_F(SkinControlsTest, ControlsTakeNewStylesWhenTheDesignsChange)
{
    WriteDesign("<panel style=\"Back\" color=\"255\"/>\n");
    StartSkin();
    TECPanel panel;
    panel.SetStyleName(QStringLiteral("Back"));
    EXPECT_EQ(panel.FillColor(), QColor(255, 0, 0));
    WriteDesign("<panel style=\"Back\" color=\"$FF0000\"/>\n");
    manager_->ReloadDesigns();
    EXPECT_EQ(panel.FillColor(), QColor(0, 0, 255));
}

} // namespace
} // namespace pavlora::test

#include "SkinControlsTest.moc"
