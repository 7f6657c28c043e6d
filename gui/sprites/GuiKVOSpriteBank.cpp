#include "gui/sprites/GuiKVOSpriteBank.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/File.h"
#include "core/io/FileVersions.h"
#include "core/io/Uuid.h"
#include "gui/manager/GuiColorConversion.h"
#include "platform/Clock.h"

#include <IGUIEnvironment.h>
#include <ITexture.h>
#include <IVideoDriver.h>

#include <cmath>
#include <limits>
#include <memory>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Sprite
{

namespace
{

using Graphics::GUI::ToSColor;
using irr::s32;
using irr::u32;
using Rect32 = irr::core::rect<s32>;

// Float to s32 toward zero, held to the s32 range; not a number gives 0.
// Rectangles come from scripts and files, so any float can arrive here.
s32 TruncateToInt(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0f)
        return std::numeric_limits<s32>::max();
    if (value <= -2147483648.0f)
        return std::numeric_limits<s32>::min();
    return static_cast<s32>(value);
}

Rect32 TruncateRect(const CRect& rect)
{
    return Rect32(TruncateToInt(rect.x1), TruncateToInt(rect.y1), TruncateToInt(rect.x2),
                  TruncateToInt(rect.y2));
}

// Width and height in 64 bits, so that extreme rectangles do not overflow.
int64_t Width(const Rect32& rect)
{
    return static_cast<int64_t>(rect.LowerRightCorner.X) - rect.UpperLeftCorner.X;
}

int64_t Height(const Rect32& rect)
{
    return static_cast<int64_t>(rect.LowerRightCorner.Y) - rect.UpperLeftCorner.Y;
}

s32 ClampToInt(int64_t value)
{
    if (value > std::numeric_limits<s32>::max())
        return std::numeric_limits<s32>::max();
    if (value < std::numeric_limits<s32>::min())
        return std::numeric_limits<s32>::min();
    return static_cast<s32>(value);
}

std::wstring NewUuidText()
{
    return Misc::Text::Utf8ToWide(CUuid().GetId());
}

} // namespace

CGuiKVOSpriteBank::CGuiKVOSpriteBank(irr::gui::IGUIEnvironment* environment)
    : m_driver(environment ? environment->getVideoDriver() : nullptr)
{
    if (m_driver)
        m_driver->grab();
    m_loadTexture = [this](const std::wstring& name) -> irr::video::ITexture*
    {
        if (!m_driver || name.empty())
            return nullptr;
        return m_driver->getTexture(irr::io::path(Misc::Text::WideToUtf8(name).c_str()));
    };
    m_nameTexture = [](irr::video::ITexture* texture)
    { return Misc::Text::Utf8ToWide(texture->getName().getPath().c_str()); };
}

CGuiKVOSpriteBank::~CGuiKVOSpriteBank()
{
    Clear();
    if (m_driver)
        m_driver->drop();
}

uint32_t CGuiKVOSpriteBank::GetApplicationTime()
{
    // The application's clock: milliseconds since start-up, narrowed last.
    return static_cast<uint32_t>(Platform::GetMilliseconds());
}

irr::video::ITexture* CGuiKVOSpriteBank::getTexture(u32 index) const
{
    return index < m_textures.size() ? m_textures[index] : nullptr;
}

void CGuiKVOSpriteBank::addTexture(irr::video::ITexture* texture)
{
    if (texture)
        texture->grab();
    m_textures.push_back(texture);
}

void CGuiKVOSpriteBank::setTexture(u32 index, irr::video::ITexture* texture)
{
    while (index >= m_textures.size())
        m_textures.push_back(nullptr);
    if (texture)
        texture->grab();
    if (m_textures[index])
        m_textures[index]->drop();
    m_textures[index] = texture;
}

s32 CGuiKVOSpriteBank::addTextureAsSprite(irr::video::ITexture* texture)
{
    if (!texture)
        return -1;
    addTexture(texture);
    const auto size = texture->getOriginalSize();
    m_rectangles.push_back(Rect32(0, 0, ClampToInt(size.Width), ClampToInt(size.Height)));
    irr::gui::SGUISprite sprite;
    sprite.Frames.push_back({m_textures.size() - 1, m_rectangles.size() - 1});
    m_sprites.push_back(sprite);
    return static_cast<s32>(m_sprites.size() - 1);
}

uint32_t CGuiKVOSpriteBank::GetFrameNumber(u32 index, u32 startTime, u32 currentTime, bool loop) const
{
    if (index >= m_sprites.size())
        return 0;
    const irr::gui::SGUISprite& sprite = m_sprites[index];
    const u32 frameCount = sprite.Frames.size();
    if (sprite.frameTime == 0 || frameCount == 0)
        return 0;
    // Unsigned arithmetic: a start time after the current time wraps.
    const u32 frame = (currentTime - startTime) / sprite.frameTime;
    if (loop)
        return frame % frameCount;
    return frame < frameCount - 1 ? frame : frameCount - 1;
}

Rect32 CGuiKVOSpriteBank::GetFrameRectangle(u32 index, u32 frame) const
{
    if (index >= m_sprites.size() || frame >= m_sprites[index].Frames.size())
        return Rect32(0, 0, 0, 0);
    const u32 rectangle = m_sprites[index].Frames[frame].rectNumber;
    return rectangle < m_rectangles.size() ? m_rectangles[rectangle] : Rect32(0, 0, 0, 0);
}

void CGuiKVOSpriteBank::draw2DSprite(u32 index, const irr::core::position2di& pos, const Rect32* clip,
                                     const irr::video::SColor& color, u32 starttime, u32 currenttime,
                                     bool loop, bool center)
{
    if (index >= m_sprites.size() || m_sprites[index].Frames.empty() || !m_driver)
        return;
    const u32 frame = GetFrameNumber(index, starttime, currenttime, loop);
    const irr::gui::SGUISpriteFrame& spriteFrame = m_sprites[index].Frames[frame];
    if (spriteFrame.textureNumber >= m_textures.size() || !m_textures[spriteFrame.textureNumber] ||
        spriteFrame.rectNumber >= m_rectangles.size())
        return;
    const Rect32& source = m_rectangles[spriteFrame.rectNumber];
    irr::core::position2di position = pos;
    if (center)
        position -= irr::core::position2di(source.getWidth() / 2, source.getHeight() / 2);
    m_driver->draw2DImage(m_textures[spriteFrame.textureNumber], position, source, clip, color, true);
}

void CGuiKVOSpriteBank::draw2DSpriteBatch(const irr::core::array<u32>& indices,
                                          const irr::core::array<irr::core::position2di>& pos,
                                          const Rect32* clip, const irr::video::SColor& color, u32 starttime,
                                          u32 currenttime, bool loop, bool center)
{
    const u32 count = indices.size() < pos.size() ? indices.size() : pos.size();
    for (u32 i = 0; i < count; ++i)
        draw2DSprite(indices[i], pos[i], clip, color, starttime, currenttime, loop, center);
}

void CGuiKVOSpriteBank::draw2DSpriteInRect(u32 index, const Rect32& destination, const Rect32* clip,
                                           const irr::video::SColor& color, u32 starttime, u32 currenttime,
                                           bool loop)
{
    if (index >= m_sprites.size() || m_sprites[index].Frames.empty() || !m_driver)
        return;
    const u32 frame = GetFrameNumber(index, starttime, currenttime, loop);
    const irr::gui::SGUISpriteFrame& spriteFrame = m_sprites[index].Frames[frame];
    if (spriteFrame.textureNumber >= m_textures.size() || !m_textures[spriteFrame.textureNumber] ||
        spriteFrame.rectNumber >= m_rectangles.size())
        return;
    const irr::video::SColor colors[4] = {color, color, color, color};
    m_driver->draw2DImage(m_textures[spriteFrame.textureNumber], destination,
                          m_rectangles[spriteFrame.rectNumber], clip, colors, true);
}

std::wstring CGuiKVOSpriteBank::AddSpriteBankEntry(const std::wstring& id, const std::wstring& textureName,
                                                   const std::vector<CRect>& rectangles, uint32_t frameTime)
{
    m_ids.erase(id);
    irr::video::ITexture* texture = m_loadTexture ? m_loadTexture(textureName) : nullptr;
    if (!texture)
        return std::wstring();
    const std::wstring usedId = id.empty() ? NewUuidText() : id;

    addTexture(texture);
    const u32 textureIndex = m_textures.size() - 1;
    irr::gui::SGUISprite sprite;
    if (!rectangles.empty())
    {
        sprite.frameTime = frameTime;
        for (const CRect& rectangle : rectangles)
        {
            m_rectangles.push_back(TruncateRect(rectangle));
            sprite.Frames.push_back({textureIndex, m_rectangles.size() - 1});
        }
    }
    else
    {
        const auto size = texture->getOriginalSize();
        m_rectangles.push_back(Rect32(0, 0, ClampToInt(size.Width), ClampToInt(size.Height)));
        sprite.Frames.push_back({textureIndex, m_rectangles.size() - 1});
        sprite.frameTime = 0;
    }
    m_sprites.push_back(sprite);
    m_ids[usedId] = m_sprites.size() - 1;
    return usedId;
}

std::wstring CGuiKVOSpriteBank::AddSpriteToScreen(const std::wstring& spriteId, const CRect& rectangle,
                                                  uint32_t startFrame, bool loop, bool oneShot,
                                                  int32_t zOrder, const CColor& color, bool beforeGui,
                                                  const CRect& clip)
{
    const s32 index = FindSprite(spriteId);
    if (index < 0)
        throw Misc::Error::CKVOError::Format(
            L"[CGuiKVOSpriteBank::AddSpriteToScreen] Sprite bank id not found:%s", spriteId.c_str());
    if (static_cast<u32>(index) >= m_sprites.size())
        throw Misc::Error::CKVOError::Format(
            L"[CGuiKVOSpriteBank::AddSpriteToScreen] Screen sprite id not found:%u", static_cast<u32>(index));
    const irr::gui::SGUISprite& bankSprite = m_sprites[static_cast<u32>(index)];
    // A start frame past the end shows the last frame.
    const u32 frameCount = bankSprite.Frames.size();
    const u32 frame = frameCount == 0 ? 0 : (startFrame < frameCount ? startFrame : frameCount - 1);

    SScreenSprite sprite;
    sprite.spriteIndex = static_cast<u32>(index);
    const Rect32 frameRect = GetFrameRectangle(sprite.spriteIndex, frame);
    const Rect32 wanted = TruncateRect(rectangle);
    sprite.destination.UpperLeftCorner = wanted.UpperLeftCorner;
    sprite.destination.LowerRightCorner.X = rectangle.x2 > rectangle.x1
                                                ? wanted.LowerRightCorner.X
                                                : ClampToInt(wanted.UpperLeftCorner.X + Width(frameRect));
    sprite.destination.LowerRightCorner.Y = rectangle.y2 > rectangle.y1
                                                ? wanted.LowerRightCorner.Y
                                                : ClampToInt(wanted.UpperLeftCorner.Y + Height(frameRect));
    // The animation has already run for the start frame's frames.
    const uint64_t elapsed = static_cast<uint64_t>(bankSprite.frameTime) * frame;
    const uint32_t now = GetApplicationTime();
    sprite.startTime = now > elapsed ? static_cast<uint32_t>(now - elapsed) : 0;
    sprite.loop = loop;
    sprite.oneShot = oneShot;
    sprite.zOrder = zOrder;
    sprite.color = ToSColor(color);
    sprite.clip = TruncateRect(clip);
    sprite.beforeGui = beforeGui;

    std::wstring id = NewUuidText();
    while (m_screenSprites.count(id))
        id = NewUuidText();
    const auto entry = m_screenSprites.emplace(id, sprite).first;
    auto position = m_drawList.begin();
    while (position != m_drawList.end() && (*position)->second.zOrder <= zOrder)
        ++position;
    m_drawList.insert(position, entry);
    if (m_screenSprites.size() == 1)
        Subscribe();
    return id;
}

bool CGuiKVOSpriteBank::ScreenSpriteExists(const std::wstring& screenSpriteId) const
{
    return m_screenSprites.count(screenSpriteId) != 0;
}

const SScreenSprite* CGuiKVOSpriteBank::FindScreenSprite(const std::wstring& screenSpriteId) const
{
    const auto found = m_screenSprites.find(screenSpriteId);
    return found == m_screenSprites.end() ? nullptr : &found->second;
}

SScreenSprite& CGuiKVOSpriteBank::GetScreenSprite(const std::wstring& id, const wchar_t* method)
{
    const auto found = m_screenSprites.find(id);
    if (found == m_screenSprites.end())
        throw Misc::Error::CKVOError::Format(L"[CGuiKVOSpriteBank::%s] Screen sprite id not found:%s", method,
                                             id.c_str());
    return found->second;
}

const SScreenSprite& CGuiKVOSpriteBank::GetScreenSprite(const std::wstring& id, const wchar_t* method) const
{
    return const_cast<CGuiKVOSpriteBank*>(this)->GetScreenSprite(id, method);
}

CRect CGuiKVOSpriteBank::GetSpritePosition(const std::wstring& screenSpriteId, bool absolute) const
{
    const SScreenSprite& sprite = GetScreenSprite(screenSpriteId, L"GetSpritePosition");
    const u32 frame = GetFrameNumber(sprite.spriteIndex, sprite.startTime, GetApplicationTime(), sprite.loop);
    const Rect32 frameRect = GetFrameRectangle(sprite.spriteIndex, frame);
    const Rect32& destination = sprite.destination;
    CRect result(static_cast<float>(destination.UpperLeftCorner.X),
                 static_cast<float>(destination.UpperLeftCorner.Y),
                 static_cast<float>(destination.LowerRightCorner.X),
                 static_cast<float>(destination.LowerRightCorner.Y));
    if (destination.LowerRightCorner.X <= destination.UpperLeftCorner.X)
        result.x2 = static_cast<float>(destination.UpperLeftCorner.X + Width(frameRect));
    if (destination.LowerRightCorner.Y <= destination.UpperLeftCorner.Y)
        result.y2 = static_cast<float>(destination.UpperLeftCorner.Y + Height(frameRect));
    if (!absolute && m_driver)
    {
        const auto screen = m_driver->getScreenSize();
        // A screen without size leaves the pixels as they are.
        if (screen.Width > 0)
        {
            result.x1 /= static_cast<float>(screen.Width);
            result.x2 /= static_cast<float>(screen.Width);
        }
        if (screen.Height > 0)
        {
            result.y1 /= static_cast<float>(screen.Height);
            result.y2 /= static_cast<float>(screen.Height);
        }
    }
    return result;
}

void CGuiKVOSpriteBank::MoveSprite(const std::wstring& screenSpriteId, const CRect& rectangle)
{
    SScreenSprite& sprite = GetScreenSprite(screenSpriteId, L"MoveSprite");
    const int64_t width = Width(sprite.destination);
    const int64_t height = Height(sprite.destination);
    const Rect32 wanted = TruncateRect(rectangle);
    sprite.destination.UpperLeftCorner = wanted.UpperLeftCorner;
    sprite.destination.LowerRightCorner.X = rectangle.x1 < rectangle.x2
                                                ? wanted.LowerRightCorner.X
                                                : ClampToInt(wanted.UpperLeftCorner.X + width);
    sprite.destination.LowerRightCorner.Y = rectangle.y1 < rectangle.y2
                                                ? wanted.LowerRightCorner.Y
                                                : ClampToInt(wanted.UpperLeftCorner.Y + height);
}

void CGuiKVOSpriteBank::ChangeSpriteColor(const std::wstring& screenSpriteId, const CColor& color)
{
    GetScreenSprite(screenSpriteId, L"ChangeSpriteColor").color = ToSColor(color);
}

void CGuiKVOSpriteBank::RemoveSprite(const std::wstring& screenSpriteId)
{
    const auto found = m_screenSprites.find(screenSpriteId);
    if (found == m_screenSprites.end())
        throw Misc::Error::CKVOError::Format(
            L"[CGuiKVOSpriteBank::RemoveSprite] Screen sprite id not found:%s", screenSpriteId.c_str());
    m_drawList.remove(found);
    m_screenSprites.erase(found);
    if (m_screenSprites.empty())
        Unsubscribe();
}

void CGuiKVOSpriteBank::RemoveAllScreenSprites()
{
    m_drawList.clear();
    m_screenSprites.clear();
    Unsubscribe();
}

s32 CGuiKVOSpriteBank::FindSprite(const std::wstring& id) const
{
    const auto found = m_ids.find(id);
    return found == m_ids.end() ? -1 : static_cast<s32>(found->second);
}

std::wstring CGuiKVOSpriteBank::GetSpriteId(uint32_t index) const
{
    for (const auto& [id, spriteIndex] : m_ids)
    {
        if (spriteIndex == index)
            return id;
    }
    return std::wstring();
}

std::wstring CGuiKVOSpriteBank::TextureName(irr::video::ITexture* texture) const
{
    return texture && m_nameTexture ? m_nameTexture(texture) : std::wstring();
}

std::wstring CGuiKVOSpriteBank::GetSpriteTextureName(const std::wstring& id) const
{
    const s32 index = FindSprite(id);
    if (index < 0 || static_cast<u32>(index) >= m_sprites.size() || m_sprites[index].Frames.empty())
        return std::wstring();
    const u32 texture = m_sprites[index].Frames[0].textureNumber;
    return texture < m_textures.size() ? TextureName(m_textures[texture]) : std::wstring();
}

bool CGuiKVOSpriteBank::RemoveSpriteId(const std::wstring& id)
{
    return m_ids.erase(id) != 0;
}

void CGuiKVOSpriteBank::Clear()
{
    RemoveAllScreenSprites();
    for (u32 i = 0; i < m_textures.size(); ++i)
    {
        if (m_textures[i])
            m_textures[i]->drop();
    }
    m_textures.clear();
    m_sprites.clear();
    m_rectangles.clear();
    m_ids.clear();
}

void CGuiKVOSpriteBank::Subscribe()
{
    using namespace Graphics::Multicast;
    Misc::Multicast::CMulticast<CEvtGraphicsDrawPreGui>::Subscribe(
        static_cast<Misc::Multicast::CSubscriber<CEvtGraphicsDrawPreGui>*>(this), 0);
    Misc::Multicast::CMulticast<CEvtGraphicsDrawPostGui>::Subscribe(
        static_cast<Misc::Multicast::CSubscriber<CEvtGraphicsDrawPostGui>*>(this), 0);
}

void CGuiKVOSpriteBank::Unsubscribe()
{
    using namespace Graphics::Multicast;
    Misc::Multicast::CMulticast<CEvtGraphicsDrawPreGui>::Unsubscribe(
        static_cast<Misc::Multicast::CSubscriber<CEvtGraphicsDrawPreGui>*>(this));
    Misc::Multicast::CMulticast<CEvtGraphicsDrawPostGui>::Unsubscribe(
        static_cast<Misc::Multicast::CSubscriber<CEvtGraphicsDrawPostGui>*>(this));
}

bool CGuiKVOSpriteBank::OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPreGui&)
{
    DrawPass(true);
    return false;
}

bool CGuiKVOSpriteBank::OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostGui&)
{
    DrawPass(false);
    return false;
}

void CGuiKVOSpriteBank::DrawPass(bool beforeGui)
{
    // One time for the whole pass: every sprite shows the same moment.
    const uint32_t now = GetApplicationTime();
    auto position = m_drawList.begin();
    while (position != m_drawList.end())
    {
        const auto entry = *position;
        if (entry->second.beforeGui != beforeGui)
        {
            ++position;
            continue;
        }
        if (DrawScreenSprite(entry->second, now))
        {
            position = m_drawList.erase(position);
            m_screenSprites.erase(entry);
        }
        else
            ++position;
    }
}

bool CGuiKVOSpriteBank::DrawScreenSprite(const SScreenSprite& sprite, uint32_t now)
{
    const bool clipped = sprite.clip.getWidth() >= 1 || sprite.clip.getHeight() >= 1;
    draw2DSpriteInRect(sprite.spriteIndex, sprite.destination, clipped ? &sprite.clip : nullptr, sprite.color,
                       sprite.startTime, now, sprite.loop);
    if (!sprite.oneShot)
        return false;
    if (sprite.spriteIndex >= m_sprites.size())
        return true;
    const irr::gui::SGUISprite& bankSprite = m_sprites[sprite.spriteIndex];
    // A sprite without animation has shown its one frame once drawn.
    if (bankSprite.frameTime == 0)
        return true;
    return (now - sprite.startTime) / bankSprite.frameTime >= bankSprite.Frames.size();
}

bool CGuiKVOSpriteBank::Write(Misc::Serialization::IArchive& archive)
{
    bool ok = true;
    for (const auto& [id, index] : m_ids)
    {
        const irr::gui::SGUISprite* sprite = index < m_sprites.size() ? &m_sprites[index] : nullptr;
        ok = archive.WriteString("Sprite{") && archive.EndLine(+1) && ok;
        ok = archive.WriteKeyWString("-Id", id) && ok;
        ok = archive.WriteKeyULong("-FrameTime", sprite ? sprite->frameTime : 0) && ok;
        ok = archive.WriteKeyWString("-Texture", GetSpriteTextureName(id)) && ok;
        for (u32 f = 0; sprite && f < sprite->Frames.size(); ++f)
        {
            const u32 rectangle = sprite->Frames[f].rectNumber;
            const Rect32 r = rectangle < m_rectangles.size() ? m_rectangles[rectangle] : Rect32(0, 0, 0, 0);
            ok = archive.WriteString("Frame{") && archive.EndLine(+1) && ok;
            ok = archive.WriteString("-FrameRect") && archive.WriteSpaces(1) &&
                 archive.WriteFloat(static_cast<float>(r.UpperLeftCorner.X), 6) && archive.WriteSpaces(1) &&
                 archive.WriteFloat(static_cast<float>(r.UpperLeftCorner.Y), 6) && archive.WriteSpaces(1) &&
                 archive.WriteFloat(static_cast<float>(r.LowerRightCorner.X), 6) && archive.WriteSpaces(1) &&
                 archive.WriteFloat(static_cast<float>(r.LowerRightCorner.Y), 6) && archive.EndLine(0) && ok;
            ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;
        }
        ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;
    }
    return ok;
}

bool CGuiKVOSpriteBank::Read(Misc::Serialization::IArchive& archive)
{
    while (archive.TestToken("Sprite{"))
    {
        std::wstring id;
        std::wstring texture;
        uint32_t frameTime = 0;
        std::vector<CRect> rectangles;
        if (!archive.ReadKeyWString("-Id", id) || !archive.ReadKeyULong("-FrameTime", frameTime) ||
            !archive.ReadKeyWString("-Texture", texture))
            return false;
        while (archive.TestToken("Frame{"))
        {
            archive.ExpectToken("-FrameRect");
            CRect rectangle;
            if (!archive.ReadFloat(rectangle.x1) || !archive.ReadFloat(rectangle.y1) ||
                !archive.ReadFloat(rectangle.x2) || !archive.ReadFloat(rectangle.y2))
                return false;
            archive.ExpectToken("}");
            rectangles.push_back(rectangle);
        }
        archive.ExpectToken("}");
        AddSpriteBankEntry(id, texture, rectangles, frameTime);
    }
    return true;
}

bool CGuiKVOSpriteBank::LoadFromArchive(Misc::Serialization::IArchive& archive)
{
    if (!archive.IsVersionAtLeast(FileVersion::kGuiElementLinks))
        return false;
    return Read(archive);
}

bool CGuiKVOSpriteBank::LoadFile(const CApplication& application, const std::wstring& name)
{
    // The file is dropped however the read ends.
    const std::unique_ptr<IFile, void (*)(IFile*)> file(application.OpenFile(name, {L".kvosprites"}),
                                                        [](IFile* opened)
                                                        {
                                                            if (opened)
                                                                opened->drop();
                                                        });
    if (!file)
        return false;
    Misc::Serialization::CArchiveHandle archive(file.get(), false, GetTypeName(), GetMinimumVersion());
    return archive.IsOpen() && Read(archive);
}

bool CGuiKVOSpriteBank::SaveFile(const std::wstring& path, const char* mode)
{
    return Misc::Serialization::SaveSerializable(*this, path, mode);
}

} // namespace Graphics::Sprite
