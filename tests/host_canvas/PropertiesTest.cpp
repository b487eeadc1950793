// Fonts, pens and brushes as published sub-objects of a form resource.
#include <gtest/gtest.h>

#include "host/components/Component.h"
#include "host/components/FormResource.h"
#include "host/components/Properties.h"
#include "host/graphics/Canvas.h"

namespace qz {

class TDrawingHolder : public TComponent {
  QZ_CLASS(TDrawingHolder, TComponent)
 public:
  using TComponent::TComponent;
  TFont font;
  TPen pen;
  TBrush brush;
};

QZ_PUBLISHED(TDrawingHolder, TComponent) {
  b.Object("Brush", [](TDrawingHolder& h) -> TBrush& { return h.brush; });
  b.Object("Font", [](TDrawingHolder& h) -> TFont& { return h.font; });
  b.Object("Pen", [](TDrawingHolder& h) -> TPen& { return h.pen; });
}

namespace {

TEST(DrawingProperties, ReadAndWrittenThroughFormResources) {
  const std::string text =
      "object Holder1: TDrawingHolder\n"
      "  Brush.Color = clBtnFace\n"
      "  Brush.Style = bsClear\n"
      "  Font.Charset = 204\n"
      "  Font.Color = clRed\n"
      "  Font.Height = -13\n"
      "  Font.Name = 'Arial'\n"
      "  Font.Style = [fsBold, fsUnderline]\n"
      "  Pen.Style = psDot\n"
      "  Pen.Width = 2\n"
      "end\n";
  TDrawingHolder holder(nullptr);
  ReadComponentRes(&holder, text);
  EXPECT_EQ(holder.font.Name(), "Arial");
  EXPECT_EQ(holder.font.Height(), -13);
  EXPECT_EQ(holder.font.Size(), 10);
  EXPECT_EQ(holder.font.Color(), clRed);
  EXPECT_EQ(holder.font.Charset(), 204);
  EXPECT_EQ(holder.font.Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline}));
  EXPECT_EQ(holder.brush.Style(), TBrushStyle::bsClear);
  EXPECT_EQ(holder.brush.Color(), clBtnFace);
  EXPECT_EQ(holder.pen.Style(), TPenStyle::psDot);
  EXPECT_EQ(holder.pen.Width(), 2);
  // Defaults are not written; Size never is.
  EXPECT_EQ(WriteComponentRes(&holder), text);
}

}  // namespace
}  // namespace qz
