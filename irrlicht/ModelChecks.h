#pragma once

#include <string>
#include <string_view>

namespace Graphics
{

// Structural checks of model files, made before Irrlicht's loader sees the
// bytes. MD2, MD3 and Quake 3 maps are read in the engine's own process
// (scripts use their special mesh types), by loaders that trust every
// count, offset and index of the file: each check passes only a file whose
// every header field is sound, whose every record lies inside the file and
// whose every cross-reference names a record that exists. An OBJ file is
// checked before it goes to the model reader process, so that a broken one
// is refused with a reason instead of being read past its arrays there.
class CModelChecks
{
public:
    // Whether Irrlicht's OBJ reader reads the text within its arrays: every
    // face corner names a position, and a texture coordinate and a normal
    // when it gives one, that the file defines before it; index words are
    // short; lines that make the reader take words from the next line are
    // refused. The reason when not.
    static bool CheckObj(std::string_view text, std::string& reason);
    // The chunk tree of a B3D or 3DS file: every chunk lies inside its
    // parent and the file. (Irrlicht's readers of both loop for ever on a
    // chunk that runs past the end; the model reader would be stopped only
    // by its timeout.)
    static bool CheckB3dChunks(std::string_view bytes, std::string& reason);
    static bool Check3dsChunks(std::string_view bytes, std::string& reason);
    // An MD2 model (version 8).
    static bool CheckMd2(std::string_view bytes, std::string& reason);
    // An MD3 model (version 15).
    static bool CheckMd3(std::string_view bytes, std::string& reason);
    // A Quake 3 map (IBSP, versions 46 and 47), its entity text included.
    static bool CheckBsp(std::string_view bytes, std::string& reason);
    // Text of the Quake 3 script grammar that Irrlicht parses (a map's
    // entities, shader scripts): no zero byte before its end, quotes closed
    // on their line, braces balanced and nested at most a few deep.
    static bool CheckQuake3Text(std::string_view text, std::string& reason);
};

} // namespace Graphics
