// Buttons, images, static texts, edit boxes and spin boxes in GUI layouts:
// each reader takes its kind's keys in their fixed order (optional keys
// only when they come next, some only from a file version on) and creates
// the element under the GUI parent; each writer writes the same keys back.

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/events/GuiEventType.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "irrlicht/IrrlichtConversions.h"
#include "gui/layout/GuiLayoutReader.h"
#include "gui/layout/GuiLayoutWriter.h"
#include "gui/layout/IGuiLayoutHost.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/GuiIdSet.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <string>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::GUI
{

using Layout::ReadKeyFloats;
using Layout::Require;

using namespace irr;
using Misc::Serialization::IArchive;

namespace
{

// The file versions from which keys exist.
constexpr uint32_t kVersionEditBoxFont = FileVersion::kElementFonts;
constexpr uint32_t kVersion1019 = FileVersion::kGuiElementLinks;

void ReadBool(IArchive& archive, const char* key, bool& value)
{
    Require(archive.ReadKeyBool(key, value), key);
}

void ReadWString(IArchive& archive, const char* key, std::wstring& value)
{
    Require(archive.ReadKeyWString(key, value), key);
}

void ReadULong(IArchive& archive, const char* key, uint32_t& value)
{
    Require(archive.ReadKeyULong(key, value), key);
}

void ReadLong(IArchive& archive, const char* key, int32_t& value)
{
    archive.ExpectToken(key);
    Require(archive.ReadLong(value), key);
}

void ReadColor(IArchive& archive, CNamedColor& color)
{
    Require(color.Read(archive), color.GetKey().c_str());
}

// An optional key: read when it comes next.
void ReadOptionalBool(IArchive& archive, const char* key, bool& value)
{
    if (archive.TestToken(key, true))
        ReadBool(archive, key, value);
}

void ReadOptionalWString(IArchive& archive, const char* key, std::wstring& value)
{
    if (archive.TestToken(key, true))
        ReadWString(archive, key, value);
}

// A key line with a signed 32-bit value of the long kind.
bool WriteKeyLongValue(IArchive& archive, const char* key, int32_t value)
{
    return archive.WriteString(key) && archive.WriteSpaces(1) && archive.WriteLong(value) &&
           archive.EndLine(0);
}

// Text alignments stored in a file: an unknown number would index past the
// library's alignment names.
gui::EGUI_ALIGNMENT ToFileAlignment(uint32_t value, const wchar_t* method)
{
    if (value > gui::EGUIA_SCALE)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::%s] Invalid alignment:%u", method, value);
    return static_cast<gui::EGUI_ALIGNMENT>(value);
}

} // namespace

// Buttons.

gui::IGUIElement* CGuiLayoutReader::ReadButton(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    const std::wstring name = m_host.GetElementName(id, false);
    // Without a rectangle the button starts empty at the parent's corner.
    CRect position;
    if (archive.TestToken("-Position", true))
        position = ReadElementPosition(archive);
    std::wstring label;
    ReadWString(archive, "-Label", label);
    std::wstring image;
    std::wstring pressedImage;
    bool alpha = false;
    bool border = true;
    bool push = false;
    std::wstring font;
    ReadOptionalWString(archive, "-ImageFilename", image);
    ReadOptionalWString(archive, "-ImageFilenameActive", pressedImage);
    ReadOptionalBool(archive, "-UseAlpha", alpha);
    ReadOptionalBool(archive, "-Border", border);
    ReadOptionalBool(archive, "-IsPushButton", push);
    // Older files have the alpha flag here.
    ReadOptionalBool(archive, "-UseAlpha", alpha);
    ReadOptionalWString(archive, "-Font", font);

    gui::IGUIButton* button = nullptr;
    gui::IGUIElement* parent = m_host.GetGuiParent();
    if (parent != nullptr && parent->getType() == gui::EGUIET_TOOL_BAR)
    {
        // Placed and sized as scripts place tool bar buttons.
        button = m_host.addToolbarButton(parent, id, label, font, image, pressedImage, push, alpha, border);
    }
    else
    {
        button = m_host.AddButton(id, label, m_host.ScreenRectToPixelRect(position), font, image,
                                  pressedImage, push, alpha, border);
    }
    ReadShortcut(archive, kGuiButtonClicked, name);
    return button;
}

bool CGuiLayoutWriter::WriteButton(IArchive& archive, gui::IGUIElement* element)
{
    const gui::IGUIButton* button = static_cast<gui::IGUIButton*>(element);
    const IrrlichtGui::CElementAttributes attributes(m_host.GetDevice(), element);
    return WriteElementIdName(archive, element) && WriteElementPosition(archive, element) &&
           WriteElementLabel(archive, element) &&
           archive.WriteKeyWString("-ImageFilename", m_host.GetTextureFile(attributes.Texture("Image"))) &&
           archive.WriteKeyWString("-ImageFilenameActive",
                                   m_host.GetTextureFile(attributes.Texture("PressedImage"))) &&
           archive.WriteKeyBool("-UseAlpha", button->isAlphaChannelUsed()) &&
           archive.WriteKeyBool("-Border", button->isDrawingBorder()) &&
           archive.WriteKeyBool("-IsPushButton", button->isPushButton()) &&
           archive.WriteKeyWString("-Font", m_host.GetElementFontFile(element).value_or(std::wstring())) &&
           WriteShortcut(m_host.GetElementName(element->getID(), false), archive);
}

// Check boxes.

gui::IGUIElement* CGuiLayoutReader::ReadCheckBox(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    const CRect position = ReadElementPosition(archive);
    std::wstring label;
    bool checked = false;
    if (!archive.ReadKeyWString("-Label", label) || !archive.ReadKeyBool("-Checked", checked))
        throw Misc::Error::CKVOError(L"[CGuiManager::ReadCheckBox] Invalid check box");
    // Layouts of this span named a font the check box never used.
    if (archive.IsVersionAtLeast(FileVersion::kElementFonts) &&
        !archive.IsVersionAtLeast(FileVersion::kGuiElementLinks))
    {
        std::wstring font;
        if (!archive.ReadKeyWString("-Font", font))
            throw Misc::Error::CKVOError(L"[CGuiManager::ReadCheckBox] Invalid check box");
    }
    // The name is registered already: the box takes its id.
    return m_host.AddCheckBox(id, label, checked, m_host.ScreenRectToPixels(position));
}

bool CGuiLayoutWriter::WriteCheckBox(IArchive& archive, gui::IGUIElement* element)
{
    return WriteElementIdName(archive, element) && WriteElementPosition(archive, element) &&
           WriteElementLabel(archive, element) &&
           archive.WriteKeyBool("-Checked", m_host.IsCheckBoxChecked(element));
}

// Images.

gui::IGUIElement* CGuiLayoutReader::ReadImage(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    // Older files place the image by its corner only.
    float corners[4] = {};
    ReadKeyFloats(archive, "-Position", corners, archive.IsVersionAtLeast(kVersion1019) ? 4 : 2);
    bool alpha = false;
    ReadBool(archive, "-Alpha", alpha);
    int32_t justifyX = -1;
    int32_t justifyY = -1;
    if (archive.TestToken("-XJustify", true))
        ReadLong(archive, "-XJustify", justifyX);
    if (archive.TestToken("-YJustify", true))
        ReadLong(archive, "-YJustify", justifyY);
    bool scale = false;
    if (archive.IsVersionAtLeast(kVersion1019))
        ReadBool(archive, "-Scale", scale);

    // The file for this screen size, else the first default.
    const std::wstring resolution =
        L"-" + std::to_wstring(m_host.GetScreenWidth()) + L"x" + std::to_wstring(m_host.GetScreenHeight());
    archive.ExpectToken("Resolutions{");
    std::wstring file;
    bool matched = false;
    bool defaulted = false;
    while (!archive.TestToken("}"))
    {
        const std::wstring key = archive.ReadWToken(nullptr);
        std::wstring entry;
        Require(!key.empty() && archive.ReadWString(entry), "Resolutions{");
        if (key == resolution)
        {
            file = entry;
            matched = true;
        }
        else if (key == L"-Default" && !matched && !defaulted)
        {
            file = entry;
            defaulted = true;
        }
    }

    const CRect position(corners[0], corners[1], corners[2], corners[3]);
    gui::IGUIImage* image = m_host.addImage(id, file, m_host.ScreenRectToPixelRect(position), alpha, scale);
    if (image == nullptr)
        return nullptr;
    // Anchored at its centre (1) or its right or bottom edge (2).
    const video::ITexture* texture = image->getImage();
    const core::dimension2d<u32> size =
        texture != nullptr ? texture->getOriginalSize() : core::dimension2d<u32>();
    const auto shift = [](int32_t justify, u32 length) {
        return justify == 1 ? static_cast<s32>(length / 2) : justify == 2 ? static_cast<s32>(length) : 0;
    };
    const core::position2di offset(shift(justifyX, size.Width), shift(justifyY, size.Height));
    if (offset.X != 0 || offset.Y != 0)
    {
        core::rect<s32> rect = image->getRelativePosition();
        rect -= offset;
        m_host.SetElementRelativeRect(image, rect);
    }
    return image;
}

bool CGuiLayoutWriter::WriteImage(IArchive& archive, gui::IGUIElement* element)
{
    const gui::IGUIImage* image = static_cast<gui::IGUIImage*>(element);
    return WriteElementIdName(archive, element) && WriteElementPosition(archive, element) &&
           archive.WriteKeyBool("-Alpha", image->isAlphaChannelUsed()) &&
           archive.WriteKeyBool("-Scale", image->isImageScaled()) &&
           Layout::WriteBlockStart(archive, "Resolutions{") &&
           archive.WriteKeyWString("-Default", m_host.GetTextureFile(image->getImage())) &&
           Layout::WriteBlockEnd(archive);
}

// Static texts ("Text", and "Text2" of older files).

gui::IGUIElement* CGuiLayoutReader::ReadStaticText(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    const CRect position = ReadElementPosition(archive);
    bool border = false;
    bool wordWrap = false;
    bool background = false;
    ReadBool(archive, "-Border", border);
    ReadBool(archive, "-WordWrap", wordWrap);
    ReadBool(archive, "-Background", background);
    CNamedColor color(0, 0, 0, 0, "-Color");
    ReadColor(archive, color);
    CNamedColor backgroundColor(0, 0, 0, 0, "-BackgroundColor");
    const bool hasBackgroundColor = archive.IsVersionAtLeast(kVersion1019);
    if (hasBackgroundColor)
        ReadColor(archive, backgroundColor);
    uint32_t horizontal = 0;
    uint32_t vertical = 0;
    ReadULong(archive, "-HAlign", horizontal);
    ReadULong(archive, "-VAlign", vertical);
    std::wstring label;
    ReadWString(archive, "-Label", label);
    std::wstring font;
    ReadOptionalWString(archive, "-Font", font);

    const gui::EGUI_ALIGNMENT alignHorizontal = ToFileAlignment(horizontal, L"ReadStaticText");
    const gui::EGUI_ALIGNMENT alignVertical = ToFileAlignment(vertical, L"ReadStaticText");
    gui::IGUIStaticText* text = m_host.AddStaticText(id, label, m_host.ScreenRectToPixelRect(position),
                                                     border, wordWrap, background, color, font);
    if (text == nullptr)
        return nullptr;
    if (hasBackgroundColor)
        text->setBackgroundColor(ToSColor(backgroundColor));
    text->setTextAlignment(alignHorizontal, alignVertical);
    return text;
}

bool CGuiLayoutWriter::WriteStaticText(IArchive& archive, gui::IGUIElement* element)
{
    const gui::IGUIStaticText* text = static_cast<gui::IGUIStaticText*>(element);
    const CNamedColor color(m_host.GetStaticTextColor(element), "-Color");
    const CNamedColor backgroundColor(m_host.GetStaticTextBackgroundColor(element), "-BackgroundColor");
    const IrrlichtGui::CElementAttributes attributes(m_host.GetDevice(), element);
    return WriteElementIdName(archive, element) && WriteElementPosition(archive, element) &&
           archive.WriteKeyBool("-Border", text->isDrawBorderEnabled()) &&
           archive.WriteKeyBool("-WordWrap", text->isWordWrapEnabled()) &&
           archive.WriteKeyBool("-Background", text->isDrawBackgroundEnabled()) && color.Write(archive) &&
           backgroundColor.Write(archive) &&
           archive.WriteKeyULong("-HAlign", static_cast<uint32_t>(attributes.Alignment("HTextAlign"))) &&
           archive.WriteKeyULong("-VAlign", static_cast<uint32_t>(attributes.Alignment("VTextAlign"))) &&
           WriteElementLabel(archive, element) &&
           archive.WriteKeyWString("-Font", m_host.GetElementFontFile(element).value_or(std::wstring()));
}

// Edit boxes.

gui::IGUIElement* CGuiLayoutReader::ReadEditBox(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    const CRect position = ReadElementPosition(archive);
    bool border = false;
    ReadBool(archive, "-Border", border);
    int32_t maxChars = 0;
    std::wstring font;
    if (archive.IsVersionAtLeast(kVersionEditBoxFont))
    {
        ReadLong(archive, "-MaxChars", maxChars);
        ReadWString(archive, "-Font", font);
    }
    std::wstring password;
    bool autoScroll = false;
    bool multiline = false;
    uint32_t horizontal = 0;
    uint32_t vertical = 0;
    CNamedColor color(0, 0, 0, 0, "-Color");
    if (archive.IsVersionAtLeast(kVersion1019))
    {
        ReadWString(archive, "-Password", password);
        ReadBool(archive, "-AutoScroll", autoScroll);
        ReadBool(archive, "-Multiline", multiline);
        ReadULong(archive, "-HAlign", horizontal);
        ReadULong(archive, "-VAlign", vertical);
        if (archive.TestToken("-Color", true))
            ReadColor(archive, color);
    }
    std::wstring label;
    ReadWString(archive, "-Label", label);

    const gui::EGUI_ALIGNMENT alignHorizontal = ToFileAlignment(horizontal, L"ReadEditBox");
    const gui::EGUI_ALIGNMENT alignVertical = ToFileAlignment(vertical, L"ReadEditBox");
    // A negative maximum is no limit, as 0 is.
    gui::IGUIEditBox* box = m_host.AddEditBox(id, label, m_host.ScreenRectToPixelRect(position), border, font,
                                              maxChars > 0 ? static_cast<uint32_t>(maxChars) : 0);
    if (box == nullptr)
        return nullptr;
    if (multiline)
        m_host.SetEditBoxMultiline(box, true);
    else if (!password.empty())
        box->setPasswordBox(true, password[0]);
    box->setTextAlignment(alignHorizontal, alignVertical);
    box->setAutoScroll(autoScroll);
    m_host.SetEditBoxColor(box, color);
    return box;
}

bool CGuiLayoutWriter::WriteEditBox(IArchive& archive, gui::IGUIElement* element)
{
    const gui::IGUIEditBox* box = static_cast<gui::IGUIEditBox*>(element);
    const IrrlichtGui::CElementAttributes attributes(m_host.GetDevice(), element);
    // The library keeps the password character as a one-character text.
    const wchar_t passwordChar = box->isPasswordBox() ? attributes.FirstChar("PasswordChar") : 0;
    const std::wstring password = passwordChar != 0 ? std::wstring(1, passwordChar) : std::wstring();
    const uint32_t maxChars = box->getMax();
    bool ok =
        WriteElementIdName(archive, element) && WriteElementPosition(archive, element) &&
        archive.WriteKeyBool("-Border", attributes.Bool("Border")) &&
        WriteKeyLongValue(archive, "-MaxChars", maxChars > INT32_MAX ? 0 : static_cast<int32_t>(maxChars)) &&
        archive.WriteKeyWString("-Font", m_host.GetElementFontFile(element).value_or(std::wstring())) &&
        archive.WriteKeyWString("-Password", password) &&
        archive.WriteKeyBool("-AutoScroll", box->isAutoScrollEnabled()) &&
        archive.WriteKeyBool("-Multiline", box->isMultiLineEnabled()) &&
        archive.WriteKeyULong("-HAlign", static_cast<uint32_t>(attributes.Alignment("HTextAlign"))) &&
        archive.WriteKeyULong("-VAlign", static_cast<uint32_t>(attributes.Alignment("VTextAlign")));
    if (ok && box->isOverrideColorEnabled())
        ok = CNamedColor(m_host.GetEditBoxColor(element), "-Color").Write(archive);
    return ok && WriteElementLabel(archive, element);
}

// Spin boxes.

gui::IGUIElement* CGuiLayoutReader::ReadSpinBox(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    const CRect position = ReadElementPosition(archive);
    std::wstring label;
    ReadWString(archive, "-Label", label);
    float range[2] = {};
    ReadKeyFloats(archive, "-Range", range, 2);
    float value = 0.0f;
    float step = 0.0f;
    int32_t decimals = 0;
    Require(archive.ReadKeyFloat("-Value", value), "-Value");
    Require(archive.ReadKeyFloat("-StepSize", step), "-StepSize");
    Require(archive.ReadKeyInt("-Decimals", decimals), "-Decimals");
    std::wstring upName;
    std::wstring downName;
    ReadWString(archive, "-UpId", upName);
    ReadWString(archive, "-DownId", downName);

    const int32_t upId = upName.empty() ? 0 : m_host.RegisterElementName(upName, IdAfter(id, 2));
    const int32_t downId = downName.empty() ? 0 : m_host.RegisterElementName(downName, IdAfter(id, 3));
    gui::IGUISpinBox* spinBox = m_host.AddSpinBox(id, label, m_host.ScreenRectToPixelRect(position), upId,
                                                  downId, range[0], range[1], value, decimals);
    if (spinBox != nullptr)
        m_host.SetSpinBoxStepSize(spinBox, step);
    return spinBox;
}

bool CGuiLayoutWriter::WriteSpinBox(IArchive& archive, gui::IGUIElement* element)
{
    auto* spinBox = static_cast<gui::IGUISpinBox*>(element);
    const gui::IGUIButton* up = m_host.GetSpinBoxButton(spinBox, true);
    const gui::IGUIButton* down = m_host.GetSpinBoxButton(spinBox, false);
    return WriteElementIdName(archive, element) && WriteElementPosition(archive, element) &&
           WriteElementLabel(archive, element) &&
           Layout::WriteKeyFloats(archive, "-Range", {spinBox->getMin(), spinBox->getMax()}) &&
           archive.WriteKeyFloat("-Value", spinBox->getValue()) &&
           archive.WriteKeyFloat("-StepSize", spinBox->getStepSize()) &&
           archive.WriteKeyInt("-Decimals", m_host.GetSpinBoxDecimals(element)) &&
           archive.WriteKeyWString("-UpId", up != nullptr ? m_host.GetElementName(up->getID(), false)
                                                          : std::wstring()) &&
           archive.WriteKeyWString("-DownId", down != nullptr ? m_host.GetElementName(down->getID(), false)
                                                              : std::wstring());
}

} // namespace Graphics::GUI
