// The checks of the Quake formats that the engine reads in its own process
// (MD2 and MD3 models and Quake 3 maps), and of the chunk trees of B3D and
// 3DS files. Field layouts are the formats' own
// (all little-endian 32-bit words unless noted).
#include "irrlicht/ModelChecks.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace Graphics
{

namespace
{

int32_t I32(std::string_view bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + k])) << (8 * k);
    return static_cast<int32_t>(value);
}

uint16_t U16(std::string_view bytes, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

bool FiniteAt(std::string_view bytes, size_t at, size_t count)
{
    for (size_t k = 0; k < count; ++k)
    {
        const int32_t bits = I32(bytes, at + 4 * k);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

// A name field of the given width holds a zero byte.
bool Terminated(std::string_view bytes, size_t at, size_t width)
{
    return std::memchr(bytes.data() + at, 0, width) != nullptr;
}

// count records of size bytes from offset lie inside the first end bytes.
bool Inside(int64_t offset, int64_t count, int64_t size, int64_t end)
{
    return offset >= 0 && count >= 0 && size > 0 && count <= (end - offset) / size && offset <= end;
}

bool Refuse(std::string& reason, const std::string& why)
{
    reason = why;
    return false;
}

// Quake 2's normal table has this many entries.
constexpr int kMd2Normals = 162;

} // namespace

namespace
{

// B3D: a 4-byte tag and a 32-bit length. Chunks that hold others: BB3D
// (after its version), NODE (after its name and placement) and MESH (after
// its brush).
bool B3dChunks(std::string_view bytes, int64_t from, int64_t to, int depth, std::string& reason)
{
    if (depth > 64)
        return Refuse(reason, "B3D chunks nested too deep");
    int64_t at = from;
    while (at < to)
    {
        if (to - at < 8)
            return Refuse(reason, "B3D chunk header past its parent");
        const std::string_view tag = bytes.substr(static_cast<size_t>(at), 4);
        const int64_t length = I32(bytes, static_cast<size_t>(at) + 4);
        const int64_t start = at + 8;
        if (length < 0 || length > to - start)
            return Refuse(reason, "B3D chunk " + std::string(tag) + " runs past its parent");
        int64_t inner = -1;
        if (tag == "BB3D" || tag == "MESH")
            inner = start + 4;
        else if (tag == "NODE")
        {
            const void* zero = std::memchr(bytes.data() + start, 0, static_cast<size_t>(length));
            if (zero == nullptr)
                return Refuse(reason, "B3D node name not terminated");
            inner = static_cast<const char*>(zero) - bytes.data() + 1 + 40;
        }
        if (inner >= 0)
        {
            if (inner > start + length)
                return Refuse(reason, "B3D chunk " + std::string(tag) + " too short");
            if (!B3dChunks(bytes, inner, start + length, depth + 1, reason))
                return false;
        }
        at = start + length;
    }
    return true;
}

// 3DS: a 16-bit id and a 32-bit length that counts the 6 header bytes.
bool ChunksOf3ds(std::string_view bytes, int64_t from, int64_t to, int depth, std::string& reason)
{
    if (depth > 32)
        return Refuse(reason, "3DS chunks nested too deep");
    int64_t at = from;
    while (at < to)
    {
        if (to - at < 6)
            return Refuse(reason, "3DS chunk header past its parent");
        const uint16_t id = U16(bytes, static_cast<size_t>(at));
        const int64_t length = static_cast<uint32_t>(I32(bytes, static_cast<size_t>(at) + 2));
        if (length < 6 || length > to - at)
            return Refuse(reason, "3DS chunk runs past its parent");
        int64_t inner = -1;
        // The main chunk, the editor, materials, meshes and key frames hold
        // chunks; an object holds its name first.
        if (id == 0x4D4D || id == 0x3D3D || id == 0xAFFF || id == 0x4100 || id == 0xB000)
            inner = at + 6;
        else if (id == 0x4000)
        {
            const void* zero = std::memchr(bytes.data() + at + 6, 0, static_cast<size_t>(length - 6));
            if (zero == nullptr)
                return Refuse(reason, "3DS object name not terminated");
            inner = static_cast<const char*>(zero) - bytes.data() + 1;
        }
        if (inner >= 0 && !ChunksOf3ds(bytes, inner, at + length, depth + 1, reason))
            return false;
        at += length;
    }
    return true;
}

} // namespace

bool CModelChecks::CheckB3dChunks(std::string_view bytes, std::string& reason)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != "BB3D")
        return Refuse(reason, "not a B3D file");
    return B3dChunks(bytes, 0, static_cast<int64_t>(bytes.size()), 0, reason);
}

bool CModelChecks::Check3dsChunks(std::string_view bytes, std::string& reason)
{
    if (bytes.size() < 6 || U16(bytes, 0) != 0x4D4D)
        return Refuse(reason, "not a 3DS file");
    return ChunksOf3ds(bytes, 0, static_cast<int64_t>(bytes.size()), 0, reason);
}

bool CModelChecks::CheckMd2(std::string_view bytes, std::string& reason)
{
    constexpr size_t kHeader = 68;
    const int64_t size = static_cast<int64_t>(bytes.size());
    if (bytes.size() < kHeader || bytes.substr(0, 4) != "IDP2" || I32(bytes, 4) != 8)
        return Refuse(reason, "not an MD2 file of version 8");
    const int32_t skinWidth = I32(bytes, 8), skinHeight = I32(bytes, 12), frameSize = I32(bytes, 16);
    const int32_t skins = I32(bytes, 20), vertices = I32(bytes, 24), coordinates = I32(bytes, 28);
    const int32_t triangles = I32(bytes, 32), commands = I32(bytes, 36), frames = I32(bytes, 40);
    const int32_t skinsAt = I32(bytes, 44), coordinatesAt = I32(bytes, 48), trianglesAt = I32(bytes, 52);
    const int32_t framesAt = I32(bytes, 56), commandsAt = I32(bytes, 60), end = I32(bytes, 64);
    if (skinWidth <= 0 || skinHeight <= 0 || skinWidth > 65536 || skinHeight > 65536)
        return Refuse(reason, "MD2 skin size out of range");
    if (skins < 0 || skins > 32 || vertices < 1 || vertices > 2048 || coordinates < 0 || coordinates > 2048 ||
        triangles < 1 || triangles > 4096 || commands < 0 || commands > 65536 || frames < 1 || frames > 512)
        return Refuse(reason, "MD2 count out of range");
    if (frameSize != 40 + 4 * vertices)
        return Refuse(reason, "MD2 frame size does not match its vertex count");
    if (end < static_cast<int32_t>(kHeader) || end > size || !Inside(skinsAt, skins, 64, end) ||
        !Inside(coordinatesAt, coordinates, 4, end) || !Inside(trianglesAt, triangles, 12, end) ||
        !Inside(framesAt, frames, frameSize, end) || !Inside(commandsAt, commands, 4, end) ||
        skinsAt < static_cast<int32_t>(kHeader) || coordinatesAt < static_cast<int32_t>(kHeader) ||
        trianglesAt < static_cast<int32_t>(kHeader) || framesAt < static_cast<int32_t>(kHeader) ||
        commandsAt < static_cast<int32_t>(kHeader))
        return Refuse(reason, "MD2 record outside the file");
    for (int32_t skin = 0; skin < skins; ++skin)
    {
        if (!Terminated(bytes, static_cast<size_t>(skinsAt) + 64u * static_cast<size_t>(skin), 64))
            return Refuse(reason, "MD2 skin name not terminated");
    }
    for (int32_t triangle = 0; triangle < triangles; ++triangle)
    {
        const size_t at = static_cast<size_t>(trianglesAt) + 12u * static_cast<size_t>(triangle);
        for (size_t corner = 0; corner < 3; ++corner)
        {
            if (U16(bytes, at + 2 * corner) >= vertices || U16(bytes, at + 6 + 2 * corner) >= coordinates)
                return Refuse(reason, "MD2 triangle " + std::to_string(triangle) + " names a missing corner");
        }
    }
    for (int32_t frame = 0; frame < frames; ++frame)
    {
        const size_t at =
            static_cast<size_t>(framesAt) + static_cast<size_t>(frameSize) * static_cast<size_t>(frame);
        if (!FiniteAt(bytes, at, 6) || !Terminated(bytes, at + 24, 16))
            return Refuse(reason, "MD2 frame " + std::to_string(frame) + " has a bad scale, offset or name");
        for (int32_t vertex = 0; vertex < vertices; ++vertex)
        {
            if (static_cast<uint8_t>(bytes[at + 40 + 4 * static_cast<size_t>(vertex) + 3]) >= kMd2Normals)
                return Refuse(reason, "MD2 vertex normal out of range");
        }
    }
    // The drawing commands: runs of a count (its sign the kind) and as many
    // (s, t, vertex) triples, ended by a count of 0.
    if (commands > 0)
    {
        int64_t word = 0;
        for (;;)
        {
            if (word >= commands)
                return Refuse(reason, "MD2 drawing commands not ended");
            const int32_t count =
                I32(bytes, static_cast<size_t>(commandsAt) + 4u * static_cast<size_t>(word++));
            if (count == 0)
                break;
            const int64_t corners = count < 0 ? -static_cast<int64_t>(count) : count;
            if (corners > (commands - word) / 3)
                return Refuse(reason, "MD2 drawing command past its end");
            for (int64_t corner = 0; corner < corners; ++corner, word += 3)
            {
                const size_t at = static_cast<size_t>(commandsAt) + 4u * static_cast<size_t>(word);
                if (!FiniteAt(bytes, at, 2) || I32(bytes, at + 8) < 0 || I32(bytes, at + 8) >= vertices)
                    return Refuse(reason, "MD2 drawing command names a missing vertex");
            }
        }
    }
    return true;
}

bool CModelChecks::CheckMd3(std::string_view bytes, std::string& reason)
{
    constexpr int32_t kHeader = 108;
    constexpr int32_t kSurfaceHeader = 108;
    const int64_t size = static_cast<int64_t>(bytes.size());
    if (size < kHeader || bytes.substr(0, 4) != "IDP3" || I32(bytes, 4) != 15)
        return Refuse(reason, "not an MD3 file of version 15");
    if (!Terminated(bytes, 8, 64))
        return Refuse(reason, "MD3 name not terminated");
    const int32_t frames = I32(bytes, 76), tags = I32(bytes, 80), surfaces = I32(bytes, 84),
                  skins = I32(bytes, 88);
    const int32_t framesAt = I32(bytes, 92), tagsAt = I32(bytes, 96), surfacesAt = I32(bytes, 100);
    const int32_t end = I32(bytes, 104);
    if (frames < 1 || frames > 1024 || tags < 0 || tags > 16 || surfaces < 0 || surfaces > 32 || skins < 0 ||
        skins > 256)
        return Refuse(reason, "MD3 count out of range");
    if (end < kHeader || end > size || framesAt < kHeader || tagsAt < kHeader || surfacesAt < kHeader ||
        !Inside(framesAt, frames, 56, end) ||
        !Inside(tagsAt, static_cast<int64_t>(tags) * frames, 112, end) || surfacesAt > end)
        return Refuse(reason, "MD3 record outside the file");
    for (int32_t frame = 0; frame < frames; ++frame)
    {
        const size_t at = static_cast<size_t>(framesAt) + 56u * static_cast<size_t>(frame);
        if (!FiniteAt(bytes, at, 10) || !Terminated(bytes, at + 40, 16))
            return Refuse(reason, "MD3 frame " + std::to_string(frame) + " has a bad box or name");
    }
    for (int64_t tag = 0; tag < static_cast<int64_t>(tags) * frames; ++tag)
    {
        const size_t at = static_cast<size_t>(tagsAt) + 112u * static_cast<size_t>(tag);
        if (!Terminated(bytes, at, 64) || !FiniteAt(bytes, at + 64, 12))
            return Refuse(reason, "MD3 tag has a bad name or placement");
    }
    int64_t surfaceAt = surfacesAt;
    for (int32_t surface = 0; surface < surfaces; ++surface)
    {
        const std::string which = "MD3 surface " + std::to_string(surface);
        if (!Inside(surfaceAt, 1, kSurfaceHeader, end))
            return Refuse(reason, which + " outside the file");
        const size_t at = static_cast<size_t>(surfaceAt);
        if (bytes.substr(at, 4) != "IDP3" || !Terminated(bytes, at + 4, 64))
            return Refuse(reason, which + " has a bad header");
        const int32_t surfaceFrames = I32(bytes, at + 72), shaders = I32(bytes, at + 76);
        const int32_t vertices = I32(bytes, at + 80), triangles = I32(bytes, at + 84);
        const int32_t trianglesAt = I32(bytes, at + 88), shadersAt = I32(bytes, at + 92);
        const int32_t coordinatesAt = I32(bytes, at + 96), verticesAt = I32(bytes, at + 100);
        const int32_t surfaceEnd = I32(bytes, at + 104);
        if (surfaceFrames != frames)
            return Refuse(reason, which + " has another frame count than the model");
        if (shaders < 0 || shaders > 256 || vertices < 0 || vertices > 4096 || triangles < 0 ||
            triangles > 8192)
            return Refuse(reason, which + " count out of range");
        if (surfaceEnd < kSurfaceHeader || surfaceEnd > end - surfaceAt)
            return Refuse(reason, which + " ends outside the file");
        const int64_t limit = surfaceEnd;
        if (trianglesAt < kSurfaceHeader || shadersAt < kSurfaceHeader || coordinatesAt < kSurfaceHeader ||
            verticesAt < kSurfaceHeader || !Inside(trianglesAt, triangles, 12, limit) ||
            !Inside(shadersAt, shaders, 68, limit) || !Inside(coordinatesAt, vertices, 8, limit) ||
            !Inside(verticesAt, static_cast<int64_t>(vertices) * frames, 8, limit))
            return Refuse(reason, which + " has a record outside it");
        for (int32_t triangle = 0; triangle < triangles; ++triangle)
        {
            for (size_t corner = 0; corner < 3; ++corner)
            {
                const int32_t index = I32(bytes, at + static_cast<size_t>(trianglesAt) +
                                                     12u * static_cast<size_t>(triangle) + 4 * corner);
                if (index < 0 || index >= vertices)
                    return Refuse(reason, which + " has a triangle past its vertices");
            }
        }
        for (int32_t shader = 0; shader < shaders; ++shader)
        {
            if (!Terminated(bytes, at + static_cast<size_t>(shadersAt) + 68u * static_cast<size_t>(shader),
                            64))
                return Refuse(reason, which + " has a shader name not terminated");
        }
        if (!FiniteAt(bytes, at + static_cast<size_t>(coordinatesAt), 2u * static_cast<size_t>(vertices)))
            return Refuse(reason, which + " has a texture coordinate that is not finite");
        surfaceAt += surfaceEnd;
    }
    return true;
}

bool CModelChecks::CheckQuake3Text(std::string_view text, std::string& reason)
{
    // A trailing zero (or several) ends the text; none may come before.
    size_t length = text.size();
    while (length > 0 && text[length - 1] == '\0')
        --length;
    int depth = 0;
    bool quoted = false;
    for (size_t at = 0; at < length; ++at)
    {
        const char c = text[at];
        if (c == '\0')
            return Refuse(reason, "a zero byte inside the text");
        if (quoted)
        {
            if (c == '"')
                quoted = false;
            else if (c == '\n' || c == '\r')
                return Refuse(reason, "a quote not closed on its line");
            continue;
        }
        if (c == '"')
            quoted = true;
        else if (c == '{' && ++depth > 8)
            return Refuse(reason, "braces nested too deep");
        else if (c == '}' && --depth < 0)
            return Refuse(reason, "a closing brace without its opening one");
    }
    if (quoted)
        return Refuse(reason, "a quote not closed");
    if (depth != 0)
        return Refuse(reason, "a brace not closed");
    return true;
}

bool CModelChecks::CheckBsp(std::string_view bytes, std::string& reason)
{
    enum
    {
        kEntities,
        kTextures,
        kPlanes,
        kNodes,
        kLeafs,
        kLeafFaces,
        kLeafBrushes,
        kModels,
        kBrushes,
        kBrushSides,
        kVertices,
        kMeshVertices,
        kEffects,
        kFaces,
        kLightmaps,
        kLightVolumes,
        kVisibility,
        kLumps
    };
    // The size of one record of each lump (0: not made of records).
    constexpr int64_t kRecord[kLumps] = {0, 72, 16, 36, 48, 4, 4, 40, 12, 8, 44, 4, 72, 104, 128 * 128 * 3,
                                         8, 0};
    const int64_t size = static_cast<int64_t>(bytes.size());
    constexpr int64_t kHeader = 8 + 8 * kLumps;
    if (size < kHeader || bytes.substr(0, 4) != "IBSP" || (I32(bytes, 4) != 0x2e && I32(bytes, 4) != 0x2f))
        return Refuse(reason, "not a Quake 3 map (IBSP, version 46 or 47)");
    int64_t offset[kLumps];
    int64_t count[kLumps];
    for (int lump = 0; lump < kLumps; ++lump)
    {
        offset[lump] = I32(bytes, 8 + 8 * static_cast<size_t>(lump));
        const int64_t length = I32(bytes, 12 + 8 * static_cast<size_t>(lump));
        if (offset[lump] < 0 || length < 0 || length > size - offset[lump] ||
            (length > 0 && offset[lump] < kHeader))
            return Refuse(reason, "map lump " + std::to_string(lump) + " outside the file");
        if (kRecord[lump] != 0 && length % kRecord[lump] != 0)
            return Refuse(reason, "map lump " + std::to_string(lump) + " is not a whole number of records");
        count[lump] = kRecord[lump] != 0 ? length / kRecord[lump] : length;
    }
    auto record = [&](int lump, int64_t index)
    { return static_cast<size_t>(offset[lump] + index * kRecord[lump]); };
    // [first, first + n) inside a lump of the given count.
    auto range = [](int64_t first, int64_t n, int64_t total)
    { return first >= 0 && n >= 0 && n <= total - first; };
    auto index = [](int64_t value, int64_t total) { return value >= 0 && value < total; };

    // Entities: text of the script grammar, brush models by "*number".
    const std::string_view entities =
        bytes.substr(static_cast<size_t>(offset[kEntities]), static_cast<size_t>(count[kEntities]));
    if (!CheckQuake3Text(entities, reason))
        return Refuse(reason, "map entities: " + reason);
    for (size_t at = entities.find("\"*"); at != std::string_view::npos; at = entities.find("\"*", at + 1))
    {
        int64_t model = 0;
        size_t digit = at + 2;
        while (digit < entities.size() && entities[digit] >= '0' && entities[digit] <= '9' &&
               model <= count[kModels])
            model = model * 10 + (entities[digit++] - '0');
        if (digit < entities.size() && entities[digit] == '"' && digit > at + 2 && model >= count[kModels])
            return Refuse(reason, "map entity names a missing brush model");
    }
    for (int64_t at = 0; at < count[kTextures]; ++at)
    {
        if (!Terminated(bytes, record(kTextures, at), 64))
            return Refuse(reason, "map texture name not terminated");
    }
    for (int64_t at = 0; at < count[kEffects]; ++at)
    {
        const size_t where = record(kEffects, at);
        if (!Terminated(bytes, where, 64) ||
            !(I32(bytes, where + 64) == -1 || index(I32(bytes, where + 64), count[kBrushes])))
            return Refuse(reason, "map effect has a bad name or brush");
    }
    for (int64_t at = 0; at < count[kPlanes]; ++at)
    {
        if (!FiniteAt(bytes, record(kPlanes, at), 4))
            return Refuse(reason, "map plane is not finite");
    }
    for (int64_t at = 0; at < count[kNodes]; ++at)
    {
        const size_t where = record(kNodes, at);
        if (!index(I32(bytes, where), count[kPlanes]))
            return Refuse(reason, "map node names a missing plane");
        for (size_t child = 0; child < 2; ++child)
        {
            const int64_t value = I32(bytes, where + 4 + 4 * child);
            if (value >= 0 ? value >= count[kNodes] : -(value + 1) >= count[kLeafs])
                return Refuse(reason, "map node names a missing child");
        }
    }
    int64_t clusters = 0;
    if (count[kVisibility] > 0)
    {
        const size_t where = static_cast<size_t>(offset[kVisibility]);
        if (count[kVisibility] < 8)
            return Refuse(reason, "map visibility data too short");
        clusters = I32(bytes, where);
        const int64_t rowBytes = I32(bytes, where + 4);
        if (clusters < 0 || rowBytes < 0 ||
            (rowBytes != 0 && clusters > (count[kVisibility] - 8) / rowBytes) ||
            (clusters > 0 && rowBytes < (clusters + 7) / 8))
            return Refuse(reason, "map visibility data does not fit");
    }
    for (int64_t at = 0; at < count[kLeafs]; ++at)
    {
        const size_t where = record(kLeafs, at);
        const int64_t cluster = I32(bytes, where);
        if (cluster < -1 || (cluster >= 0 && count[kVisibility] > 0 && cluster >= clusters) ||
            !range(I32(bytes, where + 32), I32(bytes, where + 36), count[kLeafFaces]) ||
            !range(I32(bytes, where + 40), I32(bytes, where + 44), count[kLeafBrushes]))
            return Refuse(reason, "map leaf names missing faces, brushes or cluster");
    }
    for (int64_t at = 0; at < count[kLeafFaces]; ++at)
    {
        if (!index(I32(bytes, record(kLeafFaces, at)), count[kFaces]))
            return Refuse(reason, "map leaf face names a missing face");
    }
    for (int64_t at = 0; at < count[kLeafBrushes]; ++at)
    {
        if (!index(I32(bytes, record(kLeafBrushes, at)), count[kBrushes]))
            return Refuse(reason, "map leaf brush names a missing brush");
    }
    for (int64_t at = 0; at < count[kModels]; ++at)
    {
        const size_t where = record(kModels, at);
        if (!FiniteAt(bytes, where, 6) ||
            !range(I32(bytes, where + 24), I32(bytes, where + 28), count[kFaces]) ||
            !range(I32(bytes, where + 32), I32(bytes, where + 36), count[kBrushes]))
            return Refuse(reason, "map model names missing faces or brushes");
    }
    for (int64_t at = 0; at < count[kBrushes]; ++at)
    {
        const size_t where = record(kBrushes, at);
        if (!range(I32(bytes, where), I32(bytes, where + 4), count[kBrushSides]) ||
            !index(I32(bytes, where + 8), count[kTextures]))
            return Refuse(reason, "map brush names missing sides or texture");
    }
    for (int64_t at = 0; at < count[kBrushSides]; ++at)
    {
        const size_t where = record(kBrushSides, at);
        if (!index(I32(bytes, where), count[kPlanes]) || !index(I32(bytes, where + 4), count[kTextures]))
            return Refuse(reason, "map brush side names a missing plane or texture");
    }
    for (int64_t at = 0; at < count[kVertices]; ++at)
    {
        if (!FiniteAt(bytes, record(kVertices, at), 10))
            return Refuse(reason, "map vertex is not finite");
    }
    for (int64_t at = 0; at < count[kFaces]; ++at)
    {
        const size_t where = record(kFaces, at);
        const std::string which = "map face " + std::to_string(at);
        const int32_t texture = I32(bytes, where), effect = I32(bytes, where + 4),
                      type = I32(bytes, where + 8);
        const int32_t first = I32(bytes, where + 12), vertices = I32(bytes, where + 16);
        const int32_t meshFirst = I32(bytes, where + 20), meshCount = I32(bytes, where + 24);
        const int32_t lightmap = I32(bytes, where + 28);
        const int32_t width = I32(bytes, where + 96), height = I32(bytes, where + 100);
        if (!index(texture, count[kTextures]))
            return Refuse(reason, which + " names a missing texture");
        if (effect >= count[kEffects] || lightmap >= count[kLightmaps])
            return Refuse(reason, which + " names a missing effect or lightmap");
        if (type < 1 || type > 4)
            return Refuse(reason, which + " is of an unknown type");
        if (!range(first, vertices, count[kVertices]) || !range(meshFirst, meshCount, count[kMeshVertices]))
            return Refuse(reason, which + " names missing vertices");
        if (!FiniteAt(bytes, where + 48, 12))
            return Refuse(reason, which + " has a placement that is not finite");
        if (type == 1 || type == 3)
        {
            if (meshCount % 3 != 0)
                return Refuse(reason, which + " is not made of triangles");
            for (int32_t k = 0; k < meshCount; ++k)
            {
                if (!index(I32(bytes, record(kMeshVertices, meshFirst + k)), vertices))
                    return Refuse(reason, which + " has a corner past its vertices");
            }
        }
        else if (type == 2)
        {
            if (width < 3 || height < 3 || width % 2 == 0 || height % 2 == 0 || width > 257 || height > 257 ||
                static_cast<int64_t>(width) * height != vertices)
                return Refuse(reason, which + " is a patch of a bad size");
        }
    }
    return true;
}

} // namespace Graphics
