#include "CatalogueFixtures.h"

#include "catalogue/ProductsReader.h"
#include "catalogue/TextMacros.h"
#include "core/PathPlaceholders.h"
#include "imaging/ImageUtils.h"
#include "support/TestSandbox.h"

#include <QImage>

#include <gtest/gtest.h>

namespace pavlora::test {

void WritePicture(const QString& path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 120, 40));
    ASSERT_TRUE(image.save(path, "JPEG", 90)) << path.toStdString();
}

QByteArray SmallCatalogueXml()
{
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<productsdef version="1.0">
  <master mid="paper" orgname="product" ratio="2-3">
    <subgroup name="Paper" select="radio" defchild="glossy"/>
    <item id="glossy" dispname="Glossy"/>
    <item id="matt" dispname="Matt"/>
  </master>
  <master mid="mugconf" orgname="conf" client_h_center="100" client_v_center="50" client_h_size="200" client_v_size="100">
    <mask file="mask.png" x="3" y="4"/>
    <print_def client_h_center="100" client_v_center="50" client_h_size="200" client_v_size="100" tag="1">
      <picture_def client_h_center="50" client_v_center="50" client_h_size="90" client_v_size="90"/>
      <picture_def client_h_center="150" client_v_center="50" client_h_size="90" client_v_size="90"/>
    </print_def>
  </master>
  <group id="Prints" dispname="Prints" edit="prints">
    <subgroup name="Format" defchild="10"/>
    <link mref="paper" id="10" dispname="10 x 15"/>
    <link mref="paper" id="13" dispname="13 x 18" ratio="3-4"/>
  </group>
  <group id="Gifts" dispname="Gifts" maxproducts="3">
    <subgroup name="Article" defchild="Mug"/>
    <product id="Mug" dispname="Mug" dispname_pl="Mugs">
      <subgroup name="Colour" defchild="white"/>
      <item id="white" dispname="White"><link mref="mugconf"/></item>
      <item id="blue" dispname="Blue"><link mref="mugconf"/></item>
    </product>
  </group>
  <group id="Books" dispname="Books" edit="books">
    <subgroup name="Size" defchild="A4"/>
    <product id="A4" dispname="Fotobuch A4" dispname_pl="Fotobücher A4"/>
  </group>
</productsdef>
)");
}

TProductItemList ReadCatalogue(const QByteArray& xml)
{
    const QString data = MakeFolder(QStringLiteral("data"));
    RegisterPathPlaceholder(QStringLiteral("{Data}"), data);
    WriteFile(data + QStringLiteral("/Products.dat"), xml);
    const TTextMacros macros;
    return ReadProductsXML(data + QStringLiteral("/Products.dat"), macros);
}

void EnsureImaging()
{
    static bool registered = false;
    if (!registered) {
        TImageUtils::Register(std::make_unique<TImageUtils>());
        registered = true;
    }
}

} // namespace pavlora::test
