#pragma once

#include <cstdint>

// Every version a saved file of the engine has been stored in, each named
// by what it added. The world file, GUI layouts, skins and sprite banks
// share one numbering: a file heads its body with the version it was
// written in, and a reader tests it with IArchive::IsVersionAtLeast
// against these names (an unversioned archive, version 0, passes every
// test). Writers always write kNewest.
namespace Misc::Serialization::FileVersion
{

// ---- world file -------------------------------------------------------------

// An entity's physics settings in a "Physics{" block; a sonic entity's
// sounds listed in full.
constexpr uint32_t kPhysicsBlock = 1000;
constexpr uint32_t kSonicSoundFiles = kPhysicsBlock;
// Particle rates as fractions rather than whole particles per second.
constexpr uint32_t kFractionalParticleRates = 1001;
// A unit's "-Octree" option.
constexpr uint32_t kUnitOctree = 1002;
// A terrain's texture scales.
constexpr uint32_t kTerrainTextureScales = 1003;
// An entity's physics "-CollisionType".
constexpr uint32_t kCollisionType = 1004;
// A camera's offset.
constexpr uint32_t kCameraOffset = 1005;
// A material's "-Param".
constexpr uint32_t kMaterialParameter = 1006;
// The graphics, physics and sound engines' records ahead of the fog (the
// physics record came after the sky before); sonic entities name their
// sounds, which the sound engine's own record loads.
constexpr uint32_t kEngineRecords = 1010;
constexpr uint32_t kSonicSoundNames = kEngineRecords;
// A joint's spring stiffness.
constexpr uint32_t kJointSpring = 1017;
// A joint's enabled switch; older joints are always enabled.
constexpr uint32_t kJointEnabled = 1018;
// Sky domes (older skies are boxes), light attenuation and spot cones, a
// camera's view port and the graphics engine's joint links; in GUI files
// see kGuiElementLinks.
constexpr uint32_t kSkyDomes = 1019;
constexpr uint32_t kLightCones = kSkyDomes;
constexpr uint32_t kCameraViewPort = kSkyDomes;
constexpr uint32_t kGraphicsJointLinks = kSkyDomes;
// A terrain's smooth factor.
constexpr uint32_t kTerrainSmoothFactor = 1020;
// Shadow switches of lights and agents.
constexpr uint32_t kShadowSwitches = 1021;
// An agent's shadow mesh.
constexpr uint32_t kAgentShadowMesh = 1022;
// A camera's aspect ratio.
constexpr uint32_t kCameraAspectRatio = 1024;
// An entity's "DynamicProperties{" block.
constexpr uint32_t kDynamicProperties = 1025;
// An entity's render flags.
constexpr uint32_t kRenderFlags = 1026;
// A particle system's size range (older files have one size for both ends).
constexpr uint32_t kParticleSizeRange = 1029;
// Collision prediction as vectors with its own switch (older files keep
// one threshold, which also says whether prediction is on).
constexpr uint32_t kCollisionPredictionVectors = 1030;

// ---- GUI layouts, skins and sprite banks --------------------------------------

// Skin bodies that set the GUI alpha (older ones set nothing).
constexpr uint32_t kSkinAlpha = 3;
// A list box's "-IconFont" (dropped again with kGuiElementLinks).
constexpr uint32_t kListBoxIconFont = 1011;
// A tool bar's position and its buttons' fonts and shortcuts.
constexpr uint32_t kToolbarPosition = 1012;
// A legacy skin's "-Highlights".
constexpr uint32_t kSkinHighlights = 1013;
// "-Font" keys on check boxes, list and combo boxes, edit boxes and tab
// controls (dropped again with kGuiElementLinks, except on edit boxes).
constexpr uint32_t kElementFonts = 1014;
// A tab page's background and colour.
constexpr uint32_t kTabPageColor = 1015;
// The layout of today: elements link their parts by name (scroll bars,
// buttons, lists), menu items enclosed in "MenuItems{", tool bar buttons,
// image corners and backgrounds, scroll bar steps, the full skin body and
// sprite banks inside other files. The same version as kSkyDomes.
constexpr uint32_t kGuiElementLinks = kSkyDomes;
// A layout's "Fader{" block.
constexpr uint32_t kFader = 1023;
// A combo box's "-MaxItems".
constexpr uint32_t kComboBoxMaxItems = 1027;

// The version every writer writes.
constexpr uint32_t kNewest = kCollisionPredictionVectors;

} // namespace Misc::Serialization::FileVersion
