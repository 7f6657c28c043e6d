// Screen coordinates: the point, rectangle and size rules, and element
// positions and sizes set in pixels and read back as fractions, at two
// screen sizes.

#include "gui/GuiManagerTestSupport.h"

#include "gui/manager/ScreenCoordinates.h"

#include <cmath>
#include <limits>

namespace
{

using namespace irr;
using Graphics::GUI::CScreenPoint;
using Graphics::GUI::CScreenRect;
using Graphics::GUI::SizeToPixels;
using Misc::ToPixels;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(ScreenCoordinates, PointsScaleEachCoordinateStrictlyBetweenMinusTwoAndTwo)
{
    struct SCase
    {
        float x, y;
        uint32_t width, height;
        int expectedX, expectedY;
    };
    const SCase cases[] = {
        {0.5f, 300.0f, 800, 600, 400, 300},
        {2.0f, 0.5f, 800, 600, 2, 300},         // exactly 2 is pixels
        {-1.9f, 1.999f, 800, 600, -1520, 1199}, // truncated toward zero
        {-2.0f, -0.25f, 1024, 768, -2, -192},
        {0.5f, 0.5f, 0, 600, 0, 0}, // no screen: nothing scaled
        {0.75f, 0.75f, 1024, 768, 768, 576},
        {kNaN, kInfinity, 800, 600, 0, Misc::kPixelLimit},
        {-1e30f, 1e30f, 800, 600, -Misc::kPixelLimit, Misc::kPixelLimit},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << test.x << " " << test.y << " on " << test.width << "x" << test.height);
        const core::position2di pixels = CScreenPoint(test.x, test.y, test.width, test.height).ToPixels();
        EXPECT_EQ(pixels.X, test.expectedX);
        EXPECT_EQ(pixels.Y, test.expectedY);
    }
}

TEST(ScreenCoordinates, RectanglesScaleOnlyWhenAllFourAreFractions)
{
    struct SCase
    {
        CRect rect;
        uint32_t width, height;
        core::rect<s32> expected;
    };
    const SCase cases[] = {
        {CRect(0.1f, 0.1f, 0.5f, 0.5f), 800, 600, core::rect<s32>(80, 60, 400, 300)},
        {CRect(0.1f, 0.1f, 0.5f, 0.5f), 1024, 768, core::rect<s32>(102, 76, 512, 384)},
        {CRect(0.1f, 0.1f, 0.5f, 250.0f), 800, 600, core::rect<s32>(0, 0, 0, 250)},
        // x1 > x2 collapses to zero width at x1, before scaling.
        {CRect(0.5f, 0.1f, 0.2f, 0.3f), 800, 600, core::rect<s32>(400, 60, 400, 180)},
        {CRect(10.0f, 20.0f, 5.0f, 10.0f), 800, 600, core::rect<s32>(10, 20, 10, 20)},
        {CRect(kNaN, 0.1f, 0.5f, 0.5f), 800, 600, core::rect<s32>(0, 0, 0, 0)},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.rect.ToString());
        EXPECT_EQ(CScreenRect(test.rect, test.width, test.height).ToPixels(), test.expected);
    }
}

TEST(ScreenCoordinates, SizesBelowOneAreFractions)
{
    EXPECT_EQ(SizeToPixels(0.5f, 800), 400u);
    EXPECT_EQ(SizeToPixels(0.999f, 1024), 1022u);
    EXPECT_EQ(SizeToPixels(1.0f, 800), 1u);
    EXPECT_EQ(SizeToPixels(250.7f, 800), 250u);
    EXPECT_EQ(SizeToPixels(0.0f, 800), 0u);
    EXPECT_EQ(SizeToPixels(-0.5f, 800), 0u);
    EXPECT_EQ(SizeToPixels(-300.0f, 800), 0u);
    EXPECT_EQ(SizeToPixels(kNaN, 800), 0u);
    EXPECT_EQ(ToPixels(2147483648.0), Misc::kPixelLimit);
}

// The same element operations at two screen sizes.
class GuiManagerCoordinatesTest : public CGuiManagerFixture,
                                  public testing::WithParamInterface<std::pair<uint32_t, uint32_t>>
{
protected:
    std::pair<uint32_t, uint32_t> ScreenSize() const override { return GetParam(); }
    float W() const { return float(GetParam().first); }
    float H() const { return float(GetParam().second); }
};

TEST_P(GuiManagerCoordinatesTest, ElementsAreSetInPixelsAndReadInFractions)
{
    const uint32_t width = GetParam().first;
    const uint32_t height = GetParam().second;
    EXPECT_EQ(gui.GetScreenWidth(), width);
    EXPECT_EQ(gui.GetScreenHeight(), height);

    // Built from fractions of this screen.
    const core::rect<s32> rect = CScreenRect(CRect(0.25f, 0.5f, 0.75f, 0.75f), width, height).ToPixels();
    gui::IGUIElement* parent = AddNamed(L"parent", rect);
    EXPECT_EQ(rect, core::rect<s32>(s32(0.25f * W()), s32(0.5f * H()), s32(0.75f * W()), s32(0.75f * H())));
    gui::IGUIElement* child = AddNamed(L"child", core::rect<s32>(10, 20, 110, 70), parent);

    CPoint point;
    ASSERT_TRUE(gui.GetElementPosition(child, point));
    EXPECT_FLOAT_EQ(point.x, 10 / W());
    EXPECT_FLOAT_EQ(point.y, 20 / H());
    ASSERT_TRUE(gui.GetElementAbsolutePosition(child, point));
    EXPECT_FLOAT_EQ(point.x, (rect.UpperLeftCorner.X + 10) / W());
    EXPECT_FLOAT_EQ(point.y, (rect.UpperLeftCorner.Y + 20) / H());
    ASSERT_TRUE(gui.GetElementSize(child, point));
    EXPECT_FLOAT_EQ(point.x, 100 / W());
    EXPECT_FLOAT_EQ(point.y, 50 / H());

    // Position keeps the size; size keeps the corner.
    const CScreenPoint target(0.1f, 30.0f, width, height);
    ASSERT_TRUE(gui.SetElementPosition(child, CPoint(target.x, target.y)));
    EXPECT_EQ(child->getRelativePosition(), core::rect<s32>(s32(0.1f * W()), 30, s32(0.1f * W()) + 100, 80));
    ASSERT_TRUE(gui.SetElementSize(child, CPoint(40.9f, 12.0f)));
    EXPECT_EQ(child->getRelativePosition().getSize(), core::dimension2di(40, 12));
    ASSERT_TRUE(gui.MoveElement(child, -5.7f, 3.2f));
    EXPECT_EQ(child->getRelativePosition().UpperLeftCorner, core::position2di(s32(0.1f * W()) - 5, 33));
    // A negative size stops at the element's minimum.
    ASSERT_TRUE(gui.SetElementSize(child, CPoint(-50.0f, -1e30f)));
    EXPECT_EQ(child->getRelativePosition().getSize(), core::dimension2di(1, 1));

    EXPECT_FALSE(gui.GetElementPosition(nullptr, point));
    EXPECT_FALSE(gui.GetElementSize(nullptr, point));
    EXPECT_FALSE(gui.SetElementPosition(nullptr, CPoint()));
    EXPECT_FALSE(gui.SetElementSize(nullptr, CPoint()));
    EXPECT_FALSE(gui.MoveElement(nullptr, 1, 1));
}

TEST_P(GuiManagerCoordinatesTest, MinimumAndMaximumSizesFollowTheSizeRule)
{
    gui::IGUIElement* element = AddNamed(L"sized", core::rect<s32>(0, 0, 10, 10));
    // Read through the element's attributes: the library has no getters.
    EXPECT_FLOAT_EQ(gui.GetElementMinSize(element).x, 1 / W());
    EXPECT_FLOAT_EQ(gui.GetElementMaxSize(element).y, 0.0f);

    gui.SetElementMinSize(element, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(gui.GetElementMinSize(element).x, 1 / W());
    EXPECT_FLOAT_EQ(gui.GetElementMinSize(element).y, 1 / H());
    gui.SetElementMaxSize(element, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(gui.GetElementMaxSize(element).x, 0.0f);

    gui.SetElementMinSize(element, 0.5f, 30.0f);
    EXPECT_FLOAT_EQ(gui.GetElementMinSize(element).x, float(uint32_t(0.5f * W())) / W());
    EXPECT_FLOAT_EQ(gui.GetElementMinSize(element).y, 30 / H());
    // The element grows to its new minimum at once.
    EXPECT_EQ(element->getAbsolutePosition().getWidth(), s32(0.5f * W()));
    gui.SetElementMaxSize(element, 200.0f, 0.25f);
    EXPECT_FLOAT_EQ(gui.GetElementMaxSize(element).x, 200 / W());
    EXPECT_FLOAT_EQ(gui.GetElementMaxSize(element).y, float(uint32_t(0.25f * H())) / H());
}

TEST_P(GuiManagerCoordinatesTest, ScaledEdgesKeepTheirProportionOfTheParent)
{
    gui::IGUIElement* parent = AddNamed(L"parent", core::rect<s32>(0, 0, 400, 200));
    gui::IGUIElement* child = AddNamed(L"child", core::rect<s32>(100, 50, 200, 100), parent);
    gui.SetElementAlignment(child, 3, 3, 3, 3);
    EXPECT_EQ(gui.GetElementAlignmentLeft(child), 3);
    EXPECT_EQ(gui.GetElementAlignmentBottom(child), 3);
    gui.SetElementAlignment(child, 0, 1, 2, 3);
    EXPECT_EQ(gui.GetElementAlignmentLeft(child), 0);
    EXPECT_EQ(gui.GetElementAlignmentTop(child), 1);
    EXPECT_EQ(gui.GetElementAlignmentRight(child), 2);
    EXPECT_EQ(gui.GetElementAlignmentBottom(child), 3);

    gui.SetElementAlignment(child, 3, 3, 3, 3);
    gui.SetElementRelativeRect(child, core::rect<s32>(40, 20, 200, 100));
    parent->setRelativePosition(core::rect<s32>(0, 0, 800, 400));
    EXPECT_EQ(child->getRelativePosition(), core::rect<s32>(80, 40, 400, 200));

    // Numbers that are no alignment change nothing.
    EXPECT_EQ(ErrorOf([&] { gui.SetElementAlignment(child, 0, 4, 0, 0); }),
              L"[CGuiManager::SetElementAlignment] Invalid alignment:4");
    EXPECT_EQ(ErrorOf([&] { gui.SetElementAlignment(child, -1, 0, 0, 0); }),
              L"[CGuiManager::SetElementAlignment] Invalid alignment:-1");
    EXPECT_EQ(gui.GetElementAlignmentTop(child), 3);
}

INSTANTIATE_TEST_SUITE_P(TwoScreens, GuiManagerCoordinatesTest,
                         testing::Values(std::make_pair(800u, 600u), std::make_pair(1024u, 768u)),
                         [](const testing::TestParamInfo<std::pair<uint32_t, uint32_t>>& screen) {
                             return std::to_string(screen.param.first) + "x" +
                                    std::to_string(screen.param.second);
                         });

} // namespace
