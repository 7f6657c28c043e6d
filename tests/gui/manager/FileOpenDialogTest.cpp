// The file-open dialog puts back the folder that was current before it once
// the user has closed it: the next frame lets go of the closed dialog, with
// no call from a script needed, and whoever else still holds the closed
// dialog cannot put an old folder back later.

#include "gui/GuiManagerTestSupport.h"

#include <filesystem>
#include <string>

namespace
{

using namespace irr;
namespace fs = std::filesystem;

class FileOpenDialogTest : public CGuiManagerFixture
{
protected:
    void SetUp() override
    {
        CGuiManagerFixture::SetUp();
        // The NULL device has no window that could be active.
        simulation.graphics.SetBackgroundRenderingEnabled(true);
        m_before = fs::current_path();
        m_base = fs::path(::testing::TempDir()) /
                 ("file-open-dialog-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::create_directories(m_base / "start");
        m_base = fs::canonical(m_base);
        fs::current_path(m_base);
    }
    void TearDown() override
    {
        fs::current_path(m_before);
        std::error_code ignored;
        fs::remove_all(m_base, ignored);
    }

    // The dialog's button that shows the skin's text, as its caption or,
    // for the close button, as its tooltip.
    gui::IGUIElement* ButtonOf(gui::IGUIElement* dialog, gui::EGUI_DEFAULT_TEXT which)
    {
        const core::stringw text = environment()->getSkin()->getDefaultText(which);
        for (gui::IGUIElement* child : dialog->getChildren())
        {
            if (child->getType() == gui::EGUIET_BUTTON &&
                (text == child->getText() || text == child->getToolTipText()))
                return child;
        }
        return nullptr;
    }

    void ClickOn(gui::IGUIElement* element)
    {
        const core::vector2di center = element->getAbsolutePosition().getCenter();
        Click(center.X, center.Y);
    }

    fs::path m_before;
    fs::path m_base;
};

TEST_F(FileOpenDialogTest, ClosingItWithItsButtonsRestoresTheFolderOnTheNextFrame)
{
    const std::wstring start = (m_base / "start").wstring();
    for (const auto& [modal, answer] :
         {std::pair{true, gui::EGDT_MSG_BOX_CANCEL}, std::pair{false, gui::EGDT_WINDOW_CLOSE},
          std::pair{false, gui::EGDT_MSG_BOX_CANCEL}})
    {
        SCOPED_TRACE(std::string(modal ? "modal, " : "") +
                     (answer == gui::EGDT_WINDOW_CLOSE ? "close" : "cancel"));
        gui::IGUIElement* dialog =
            gui.AddFileOpenDialogNamed(L"Open", modal, CRect(0.1f, 0.1f, 0.9f, 0.9f), start, L"open");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(fs::current_path(), m_base / "start");
        gui::IGUIElement* button = ButtonOf(dialog, answer);
        ASSERT_NE(button, nullptr);

        ClickOn(button);
        EXPECT_EQ(dialog->getParent(), nullptr) << "the dialog closes itself";
        // The environment holds the element under the mouse until the
        // mouse moves on, as the user's next move does.
        PostMouse(EMIE_MOUSE_MOVED, 5, 5);
        ASSERT_TRUE(simulation.graphics.Step());
        EXPECT_EQ(fs::current_path(), m_base);
    }
}

TEST_F(FileOpenDialogTest, ADialogOpenedWhileAClosedOneIsStillHeldEndsInTheFolderBeforeBoth)
{
    fs::create_directories(m_base / "other");
    const CRect rect(0.1f, 0.1f, 0.9f, 0.9f);
    gui::IGUIElement* first =
        gui.AddFileOpenDialogNamed(L"Open", false, rect, (m_base / "start").wstring(), L"a");
    ASSERT_NE(first, nullptr);
    gui::IGUIElement* cancel = ButtonOf(first, gui::EGDT_MSG_BOX_CANCEL);
    ASSERT_NE(cancel, nullptr);
    ClickOn(cancel);
    // The mouse has not moved: the environment still holds the closed dialog.
    ASSERT_TRUE(simulation.graphics.Step());
    EXPECT_EQ(fs::current_path(), m_base) << "put back once it has left the GUI";

    gui::IGUIElement* second =
        gui.AddFileOpenDialogNamed(L"Open", false, rect, (m_base / "other").wstring(), L"b");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(fs::current_path(), m_base / "other");
    PostMouse(EMIE_MOUSE_MOVED, 5, 5); // the environment lets go of the first
    ASSERT_TRUE(simulation.graphics.Step());
    EXPECT_EQ(fs::current_path(), m_base / "other") << "the second is still open";

    cancel = ButtonOf(second, gui::EGDT_MSG_BOX_CANCEL);
    ASSERT_NE(cancel, nullptr);
    ClickOn(cancel);
    ASSERT_TRUE(simulation.graphics.Step());
    PostMouse(EMIE_MOUSE_MOVED, 5, 5);
    ASSERT_TRUE(simulation.graphics.Step());
    EXPECT_EQ(fs::current_path(), m_base);
}

} // namespace
