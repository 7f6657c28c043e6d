#pragma once

// The engine's sprite bank: named, optionally animated 2D sprites cut from
// textures, served to Irrlicht's GUI as an IGUISpriteBank, and the screen
// sprites that scripts place on the screen, drawn every frame under or over
// the GUI until they are removed. Saved as "KVOSPRITEBANK" archives
// (".kvosprites" files).

#include "core/events/Multicast.h"
#include "core/foundation/Color.h"
#include "core/foundation/Rect.h"
#include "core/io/Serializable.h"

#include <IGUISpriteBank.h>
#include <rect.h>

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

class CApplication;

namespace irr
{
namespace gui
{
class IGUIEnvironment;
}
namespace video
{
class ITexture;
class IVideoDriver;
} // namespace video
} // namespace irr

namespace Graphics::Sprite
{

// One sprite on the screen.
struct SScreenSprite
{
    uint32_t spriteIndex = 0;
    irr::core::rect<irr::s32> destination; // screen pixels
    uint32_t startTime = 0;                // application milliseconds
    bool loop = false;
    bool oneShot = false; // removed once all its frames have been shown
    int32_t zOrder = 0;
    irr::video::SColor color;
    // Screen pixels; less than one pixel wide and high means no clipping.
    irr::core::rect<irr::s32> clip;
    bool beforeGui = false; // drawn before the GUI, else after it
};

class CGuiKVOSpriteBank : public irr::gui::IGUISpriteBank,
                          public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPreGui>,
                          public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsDrawPostGui>,
                          public virtual Misc::Serialization::ISerializable
{
public:
    // Gets a texture by file name, loading it when needed; null when there
    // is none.
    using TextureLoader = std::function<irr::video::ITexture*(const std::wstring&)>;
    // The name a texture is known by (its file name).
    using TextureNamer = std::function<std::wstring(irr::video::ITexture*)>;

    // Takes the environment's video driver (grabbed for the bank's life).
    // Textures come from the driver by name until another loader is set.
    explicit CGuiKVOSpriteBank(irr::gui::IGUIEnvironment* environment);
    ~CGuiKVOSpriteBank() override;

    CGuiKVOSpriteBank(const CGuiKVOSpriteBank&) = delete;
    CGuiKVOSpriteBank& operator=(const CGuiKVOSpriteBank&) = delete;

    void SetTextureLoader(TextureLoader loader) { m_loadTexture = std::move(loader); }
    void SetTextureNamer(TextureNamer namer) { m_nameTexture = std::move(namer); }

    // The sprite bank as Irrlicht's GUI sees it.
    irr::core::array<irr::core::rect<irr::s32>>& getPositions() override { return m_rectangles; }
    irr::core::array<irr::gui::SGUISprite>& getSprites() override { return m_sprites; }
    irr::u32 getTextureCount() const override { return m_textures.size(); }
    irr::video::ITexture* getTexture(irr::u32 index) const override;
    void addTexture(irr::video::ITexture* texture) override;
    void setTexture(irr::u32 index, irr::video::ITexture* texture) override;
    // Appends the texture, a rectangle over all of it and a one-frame sprite
    // showing it; the sprite's index, or -1 for no texture.
    irr::s32 addTextureAsSprite(irr::video::ITexture* texture) override;
    // The same as Clear.
    void clear() override { Clear(); }
    void draw2DSprite(irr::u32 index, const irr::core::position2di& pos,
                      const irr::core::rect<irr::s32>* clip = 0,
                      const irr::video::SColor& color = irr::video::SColor(255, 255, 255, 255),
                      irr::u32 starttime = 0, irr::u32 currenttime = 0, bool loop = true,
                      bool center = false) override;
    void draw2DSpriteBatch(const irr::core::array<irr::u32>& indices,
                           const irr::core::array<irr::core::position2di>& pos,
                           const irr::core::rect<irr::s32>* clip = 0,
                           const irr::video::SColor& color = irr::video::SColor(255, 255, 255, 255),
                           irr::u32 starttime = 0, irr::u32 currenttime = 0, bool loop = true,
                           bool center = false) override;
    // Draws the sprite's current frame stretched into the destination.
    virtual void draw2DSpriteInRect(irr::u32 index, const irr::core::rect<irr::s32>& destination,
                                    const irr::core::rect<irr::s32>* clip, const irr::video::SColor& color,
                                    irr::u32 starttime, irr::u32 currenttime, bool loop);

    // Adds a sprite of the texture: one frame per rectangle (texture pixels)
    // with the frame time, or without rectangles one frame of the whole
    // texture and frame time 0. An empty id gets a new UUID; an id in use
    // is pointed to the new sprite. Returns the id used, or "" (and changes
    // nothing) when the texture cannot be had.
    std::wstring AddSpriteBankEntry(const std::wstring& id, const std::wstring& textureName,
                                    const std::vector<CRect>& rectangles, uint32_t frameTime);

    // Places the sprite on the screen (pixels). A destination without width
    // or height takes the size of the start frame; the animation starts as
    // if it had already run for startFrame frames. Returns the new screen
    // sprite's id. Throws for an unknown sprite id.
    std::wstring AddSpriteToScreen(const std::wstring& spriteId, const CRect& rectangle, uint32_t startFrame,
                                   bool loop, bool oneShot, int32_t zOrder, const CColor& color,
                                   bool beforeGui, const CRect& clip);
    bool ScreenSpriteExists(const std::wstring& screenSpriteId) const;
    // The screen sprite's record, or null for an unknown id.
    const SScreenSprite* FindScreenSprite(const std::wstring& screenSpriteId) const;
    // The destination of the current frame, in pixels or (not absolute) as
    // fractions of the screen. Throws for an unknown id.
    CRect GetSpritePosition(const std::wstring& screenSpriteId, bool absolute) const;
    // Moves the screen sprite; a rectangle without width or height keeps
    // the current size. Throws for an unknown id.
    void MoveSprite(const std::wstring& screenSpriteId, const CRect& rectangle);
    void ChangeSpriteColor(const std::wstring& screenSpriteId, const CColor& color);
    void RemoveSprite(const std::wstring& screenSpriteId);
    void RemoveAllScreenSprites();
    size_t GetScreenSpriteCount() const { return m_screenSprites.size(); }

    // The sprite index of the id, or -1.
    irr::s32 FindSprite(const std::wstring& id) const;
    bool SpriteExists(const std::wstring& id) const { return FindSprite(id) >= 0; }
    uint32_t GetSpriteCount() const { return static_cast<uint32_t>(m_ids.size()); }
    // The id that names the sprite index, or "".
    std::wstring GetSpriteId(uint32_t index) const;
    // File name of the texture of the sprite's first frame; "" for an
    // unknown id.
    std::wstring GetSpriteTextureName(const std::wstring& id) const;
    // Forgets the id (the sprite stays, unreachable by id); whether it was
    // there.
    bool RemoveSpriteId(const std::wstring& id);
    const std::map<std::wstring, uint32_t>& GetSpriteIds() const { return m_ids; }
    // Removes every screen sprite, every sprite, rectangle, texture and id.
    void Clear();

    // The frame the sprite shows at the time, by its frame time from the
    // start time, looping or stopping at the last frame.
    uint32_t GetFrameNumber(uint32_t index, uint32_t startTime, uint32_t currentTime, bool loop) const;

    // The sprites, one "Sprite{" block each, in ascending id order.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // Re-adds every "Sprite{" block that follows through AddSpriteBankEntry
    // (a sprite whose texture cannot be had is skipped). False when a value
    // cannot be read.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOSPRITEBANK"; }

    // Read, for archives of version 1019 or later (or unversioned); older
    // ones give false without reading.
    bool LoadFromArchive(Misc::Serialization::IArchive& archive);
    // Finds the name, else the name with ".kvosprites", through the
    // application's file lookup and reads it. False when no file is found or
    // it is not a sprite-bank archive.
    bool LoadFile(const CApplication& application, const std::wstring& name);
    // Saves as a compressed ("COMPRESSED") or plain ("BINARY") binary
    // archive, else a text archive in the mode's encoding. True when
    // everything was written and the file put in place.
    bool SaveFile(const std::wstring& path, const char* mode);

    // The draw handlers: each draws the screen sprites of its pass in
    // drawing order and drops finished one-shot sprites. Never handled.
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPreGui& event) override;
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostGui& event) override;

    // The application time in milliseconds: the clock of sprite animation.
    static uint32_t GetApplicationTime();

private:
    using ScreenSpriteMap = std::map<std::wstring, SScreenSprite>;

    void DrawPass(bool beforeGui);
    // Draws the screen sprite at the time; true when a one-shot sprite has
    // shown all its frames.
    bool DrawScreenSprite(const SScreenSprite& sprite, uint32_t now);
    // The rectangle of the sprite's frame, or an empty one.
    irr::core::rect<irr::s32> GetFrameRectangle(uint32_t index, uint32_t frame) const;
    void Subscribe();
    void Unsubscribe();
    SScreenSprite& GetScreenSprite(const std::wstring& id, const wchar_t* method);
    const SScreenSprite& GetScreenSprite(const std::wstring& id, const wchar_t* method) const;
    std::wstring TextureName(irr::video::ITexture* texture) const;

    irr::core::array<irr::core::rect<irr::s32>> m_rectangles;
    irr::core::array<irr::gui::SGUISprite> m_sprites;
    irr::core::array<irr::video::ITexture*> m_textures; // each grabbed
    irr::video::IVideoDriver* m_driver = nullptr;       // grabbed
    ScreenSpriteMap m_screenSprites;
    // Drawing order: ascending z order, equal ones in the order added. The
    // entries point into m_screenSprites (whose entries never move), so
    // drawing does no look-up by id.
    std::list<ScreenSpriteMap::iterator> m_drawList;
    std::map<std::wstring, uint32_t> m_ids;
    TextureLoader m_loadTexture;
    TextureNamer m_nameTexture;
};

} // namespace Graphics::Sprite
