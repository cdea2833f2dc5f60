#include "LayoutTestSupport.h"

#include "layout/LayoutServices.h"

#include "imaging/ImageUtils.h"

#include <QImage>

#include <pugixml.hpp>

#include <sstream>

namespace pavlora::test {

void LayoutTest::SetUp()
{
    SetLayoutSettings(TLayoutSettings());
    TImageUtils::Register(std::make_unique<TImageUtils>());
}

void LayoutTest::TearDown()
{
    TImageUtils::Unregister();
    SetLayoutSettings(TLayoutSettings());
}

QString WritePicture(const QString& path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    EXPECT_TRUE(image.save(path, "jpeg", 80)) << path.toStdString();
    return path;
}

std::unique_ptr<pugi::xml_document> ParseXml(const QByteArray& text)
{
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = document->load_buffer(text.constData(), static_cast<size_t>(text.size()));
    EXPECT_TRUE(result) << result.description();
    return document;
}

QString XmlText(const pugi::xml_document& document)
{
    std::ostringstream stream;
    document.save(stream, "  ");
    return QString::fromStdString(stream.str());
}

} // namespace pavlora::test
