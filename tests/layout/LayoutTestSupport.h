#pragma once

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace pugi {
class xml_document;
}

namespace pavlora::test {

// Registers the picture facade for the test and drops it afterwards.
class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Writes a JPEG of `width` × `height` pixels and returns its path.
QString WritePicture(const QString& path, int width, int height);

// Parses XML text (the test's own fixture).
std::unique_ptr<pugi::xml_document> ParseXml(const QByteArray& text);

// The XML text of a document, for failure messages.
QString XmlText(const pugi::xml_document& document);

} // namespace pavlora::test
