// The drawing state and the drawing transform, checked through the corners
// the headless backend records.
#include <gtest/gtest.h>

#include "platform/platform.hpp"
#include "test_support.hpp"

namespace {

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override { display.setRecording(true); }

  const pf::DrawCall& only() {
    EXPECT_EQ(display.calls().size(), 1u);
    return display.calls().back();
  }

  pf::HeadlessBackend& display = freshHeadless();
  pf::ImagePtr image = pf::createImage(64, 32, 1, 0);
};

}  // namespace

TEST_F(DrawTest, ColourAndAlphaAreClampedWhenDrawing) {
  pf::setAlpha(1.5f);
  pf::setColour(300, -5, 0);
  pf::drawImage(*image, 0, 0);
  EXPECT_EQ(only().r, 255);
  EXPECT_EQ(only().g, 0);
  EXPECT_FLOAT_EQ(only().alpha, 1);
  EXPECT_FLOAT_EQ(pf::getAlpha(), 1);
  pf::setAlpha(-0.5f);
  EXPECT_FLOAT_EQ(pf::getAlpha(), 0);
  pf::setAlpha(0.5f);
  pf::drawImage(*image, 0, 0);
  EXPECT_FLOAT_EQ(display.calls().back().alpha, 127.0f / 255);  // the byte is truncated
}

TEST_F(DrawTest, CornersTurnAndScaleAboutTheHandle) {
  pf::midHandleImage(*image);
  pf::setRotation(90);
  pf::drawImage(*image, 100, 100);
  // Rotation 90 turns the image's +x axis onto screen +y (clockwise).
  const pf::DrawCall& c = only();
  EXPECT_NEAR(c.x[0], 116, 1e-4);  // top-left corner (-32, -16)
  EXPECT_NEAR(c.y[0], 68, 1e-4);
  EXPECT_NEAR(c.x[1], 116, 1e-4);  // top-right corner (32, -16)
  EXPECT_NEAR(c.y[1], 132, 1e-4);

  display.clearCalls();
  pf::setRotation(0);
  pf::setScale(-1, 1);  // mirrored about the handle
  pf::drawImage(*image, 100, 100);
  EXPECT_FLOAT_EQ(only().x[0], 132);
  EXPECT_FLOAT_EQ(only().x[1], 68);
  EXPECT_FLOAT_EQ(only().y[0], 84);

  display.clearCalls();
  pf::setScale(2, 0.5f);
  pf::setImageHandle(*image, 0, 0);
  pf::drawImage(*image, 10, 20);
  EXPECT_FLOAT_EQ(only().x[2], 10 + 128);
  EXPECT_FLOAT_EQ(only().y[2], 20 + 16);
}

TEST_F(DrawTest, RectanglesLinesAndPoints) {
  pf::setRotation(90);
  pf::fillRect(50, 50, 10, 4);  // from its own top-left, turned about it
  EXPECT_EQ(only().kind, pf::DrawCall::Kind::Rect);
  EXPECT_NEAR(only().x[2], 46, 1e-4);
  EXPECT_NEAR(only().y[2], 60, 1e-4);

  display.clearCalls();
  pf::setScale(2, 2);
  pf::setLineWidth(3);
  pf::drawLine(10, 10, 20, 10);  // the vector (10, 0) goes through the transform
  EXPECT_EQ(only().kind, pf::DrawCall::Kind::Line);
  EXPECT_NEAR(only().x[1], 10, 1e-4);
  EXPECT_NEAR(only().y[1], 30, 1e-4);
  EXPECT_FLOAT_EQ(only().lineWidth, 3);

  display.clearCalls();
  pf::plot(5, 7);  // never rotated or scaled
  EXPECT_FLOAT_EQ(only().x[0], 5);
  EXPECT_FLOAT_EQ(only().y[0], 7);
}

TEST_F(DrawTest, NothingReachesAClosedOrNonRecordingDisplay) {
  display.setRecording(false);
  pf::drawImage(*image, 0, 0);
  display.setRecording(true);
  pf::closeDisplay();
  pf::drawImage(*image, 0, 0);
  pf::fillRect(0, 0, 1, 1);
  EXPECT_TRUE(display.calls().empty());
  EXPECT_TRUE(pf::openDisplay(800, 600, 0));
  pf::drawImage(*image, 0, 0);
  EXPECT_EQ(display.calls().size(), 1u);
}

TEST(ImageDecoding, MaskColourTexelsBecomeTransparent) {
  freshHeadless();
  pf::ImagePtr img = pf::createImage(2, 1, 1, pf::kImageMasked);
  img->pixels(0)[0] = pf::packRgba(0, 0, 0, 255);
  img->pixels(0)[1] = pf::packRgba(0, 0, 1, 255);
  pf::applyMask(*img, 0, pf::MaskColour{0, 0, 0});
  EXPECT_EQ(img->pixels(0)[0] >> 24, 0u);
  EXPECT_EQ(img->pixels(0)[1] >> 24, 255u);
  const uint8_t garbage[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(pf::decodeImage(garbage, sizeof garbage, 0, pf::MaskColour{}), nullptr);
}
