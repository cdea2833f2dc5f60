#pragma once

#include "skin/DesignErrors.h"
#include "skin/ECResourceManager.h"
#include "support/TestSandbox.h"
#include "ui/FormInfoBox.h"
#include "ui/Skin.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace pavlora::test {

// A PNG of one colour.
inline QByteArray SolidPng(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A program folder whose skin the test writes, with the process's resource
// manager on it. Buttons of style "FooterMessage" are 80 wide at least and
// post the layout notice; their pictures are "Buttons/Footer_<state>.png".
class SkinFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = MakeFolder(QStringLiteral("program"));
        WriteFile(program_ + QStringLiteral("/Data/.keep"), "");
    }
    void TearDown() override { Skin::SetResourceManager(nullptr); }

    void WriteDesign(const QByteArray& styles, const QByteArray& forms = {})
    {
        WriteFile(program_ + QStringLiteral("/Design.dat"), "<design>\n" + styles + "</design>\n");
        if (!forms.isEmpty())
            WriteFile(program_ + QStringLiteral("/Forms.dat"), "<forms>\n" + forms + "</forms>\n");
    }

    static QByteArray StandardStyles()
    {
        return "<font style=\"Std\" name=\"Arial\" size=\"9\"/>\n"
               "<button style=\"FooterMessage\" message_after_paint=\"true\" minimum_width=\"80\" "
               "minimum_height=\"25\" font=\"Std\" image_id_mask=\"Buttons/Footer_%s.png\" "
               "indiv_image_usage=\"iconleft\" indiv_path=\"Icons/%s_%s.png\"/>\n"
               "<panel style=\"Spacer\" color=\"$EEEEEE\"/>\n";
    }

    void StartSkin()
    {
        manager_ = std::make_unique<TECResourceManager>(reporter_);
        manager_->SetProgramFolder(program_);
        manager_->SetDataFolder(program_ + QStringLiteral("/Data"));
        manager_->EnableDesignReload();
        manager_->ReloadDesigns();
        Skin::SetResourceManager(manager_.get());
    }

    THeadlessSkinReporter reporter_;
    QString program_;
    std::unique_ptr<TECResourceManager> manager_;
};

// The standard styles in force; message boxes are answered by the test
// (TFormInfoBox::SetAnswerer), and the answerer is removed afterwards.
class StandardSkinFixture : public SkinFixture {
protected:
    void SetUp() override
    {
        SkinFixture::SetUp();
        WriteDesign(StandardStyles());
        StartSkin();
    }
    void TearDown() override
    {
        TFormInfoBox::SetAnswerer({});
        SkinFixture::TearDown();
    }
};

} // namespace pavlora::test
