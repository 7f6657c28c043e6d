#pragma once

// Small valid model files of the formats the engine reads, written at run
// time by the tests (and by write_test_models for the script tests). Each
// is the least a format needs to show what the engine must carry over:
// skinned meshes with joints, weights and keys, frames, tags, materials
// with textures, a Quake 3 map with a polygon, a patch and a shader.

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace ModelFixtures
{

class CBytes
{
public:
    CBytes& I32(int32_t value)
    {
        for (int at = 0; at < 4; ++at)
            m_bytes += static_cast<char>((static_cast<uint32_t>(value) >> (8 * at)) & 0xff);
        return *this;
    }
    CBytes& U16(uint16_t value)
    {
        m_bytes += static_cast<char>(value & 0xff);
        m_bytes += static_cast<char>(value >> 8);
        return *this;
    }
    CBytes& U8(uint8_t value)
    {
        m_bytes += static_cast<char>(value);
        return *this;
    }
    CBytes& F32(float value)
    {
        int32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return I32(bits);
    }
    CBytes& Floats(std::initializer_list<float> values)
    {
        for (float value : values)
            F32(value);
        return *this;
    }
    // A text and its zero byte.
    CBytes& Text(const std::string& text)
    {
        m_bytes += text;
        m_bytes += '\0';
        return *this;
    }
    // A text in a field of fixed width, padded with zero bytes.
    CBytes& Field(const std::string& text, size_t width)
    {
        std::string field = text.substr(0, width);
        field.resize(width, '\0');
        m_bytes += field;
        return *this;
    }
    CBytes& Raw(const std::string& bytes)
    {
        m_bytes += bytes;
        return *this;
    }
    size_t Size() const { return m_bytes.size(); }
    std::string& Bytes() { return m_bytes; }
    // Writes a 32-bit value over the bytes at the offset.
    void Patch(size_t at, int32_t value)
    {
        for (int k = 0; k < 4; ++k)
            m_bytes[at + k] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * k)) & 0xff);
    }

private:
    std::string m_bytes;
};

// A 2x2 RGB PNG.
inline std::string Png()
{
    auto big = [](std::string& out, uint32_t value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            out += static_cast<char>((value >> shift) & 0xff);
    };
    auto chunk = [&](std::string& out, const std::string& type, const std::string& data)
    {
        big(out, static_cast<uint32_t>(data.size()));
        const std::string body = type + data;
        out += body;
        big(out, static_cast<uint32_t>(
                     crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
    };
    std::string header;
    big(header, 2);
    big(header, 2);
    header += std::string("\x08\x02\x00\x00\x00", 5);
    const std::string rows = std::string("\0\xff\0\0\0\xff\0", 7) + std::string("\0\0\0\xff\xff\xff\xff", 7);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()));
    packed.resize(packedSize);
    std::string out = "\x89PNG\r\n\x1a\n";
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", "");
    return out;
}

// A B3D chunk: tag, length, contents.
inline std::string B3dChunk(const std::string& tag, const std::string& contents)
{
    CBytes out;
    out.Raw(tag).I32(static_cast<int32_t>(contents.size())).Raw(contents);
    return out.Bytes();
}

// A skinned B3D: a strip of 2 x columns vertices on the root (its triangles
// textured by "skin.png"), and the joint "hand" that carries the upper row
// and rises from y = 0 at frame 1 to y = 2 at frame 21 (keys at both ends).
inline std::string SkinnedB3d(int columns = 2)
{
    CBytes texs;
    texs.Text("skin.png").I32(1).I32(2).Floats({0, 0, 1, 1, 0});
    CBytes brus;
    brus.I32(1).Text("skin").Floats({1, 1, 1, 1, 0}).I32(1).I32(0).I32(0);
    CBytes vrts;
    vrts.I32(1).I32(1).I32(2);
    for (int row = 0; row < 2; ++row)
    {
        for (int column = 0; column < columns; ++column)
        {
            const float x = static_cast<float>(column);
            const float y = static_cast<float>(row);
            vrts.Floats({x, y, 0, 0, 0, -1, x / static_cast<float>(columns), y});
        }
    }
    CBytes tris;
    tris.I32(0);
    for (int column = 0; column + 1 < columns; ++column)
    {
        const int a = column, b = column + 1, c = columns + column, d = columns + column + 1;
        tris.I32(a).I32(c).I32(b).I32(b).I32(c).I32(d);
    }
    CBytes mesh;
    mesh.I32(-1).Raw(B3dChunk("VRTS", vrts.Bytes())).Raw(B3dChunk("TRIS", tris.Bytes()));
    CBytes bone;
    for (int column = 0; column < columns; ++column)
        bone.I32(columns + column).F32(1.0f);
    CBytes keys;
    keys.I32(1).I32(1).Floats({0, 0, 0}).I32(21).Floats({0, 2, 0});
    CBytes hand;
    hand.Text("hand").Floats({0, 0, 0, 1, 1, 1, 1, 0, 0, 0});
    hand.Raw(B3dChunk("BONE", bone.Bytes())).Raw(B3dChunk("KEYS", keys.Bytes()));
    CBytes anim;
    anim.I32(0).I32(21).F32(10.0f);
    CBytes root;
    root.Text("root").Floats({0, 0, 0, 1, 1, 1, 1, 0, 0, 0});
    root.Raw(B3dChunk("MESH", mesh.Bytes())).Raw(B3dChunk("ANIM", anim.Bytes()));
    root.Raw(B3dChunk("NODE", hand.Bytes()));
    CBytes file;
    file.I32(1).Raw(B3dChunk("TEXS", texs.Bytes())).Raw(B3dChunk("BRUS", brus.Bytes()));
    file.Raw(B3dChunk("NODE", root.Bytes()));
    return B3dChunk("BB3D", file.Bytes());
}

// A skinned text X file: one triangle on the frame "Root", the joint "Hand"
// that moves its three corners from y = 0 at tick 0 to y = 2 at tick 20.
inline std::string SkinnedTextX()
{
    return "xof 0303txt 0032\n"
           "Frame Root {\n"
           " FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n"
           " Frame Hand {\n"
           "  FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n"
           " }\n"
           " Mesh Triangle {\n"
           "  3;\n  0.0;0.0;0.0;,\n  1.0;0.0;0.0;,\n  0.0;1.0;0.0;;\n"
           "  1;\n  3;0,1,2;;\n"
           "  MeshNormals {\n   1;\n   0.0;0.0;-1.0;;\n   1;\n   3;0,0,0;;\n  }\n"
           "  MeshTextureCoords {\n   3;\n   0.0;0.0;,\n   1.0;0.0;,\n   0.0;1.0;;\n  }\n"
           "  MeshMaterialList {\n   1;\n   1;\n   0;;\n"
           "   Material {\n    1.0;1.0;1.0;1.0;;\n    0.0;\n    0.0;0.0;0.0;;\n    0.0;0.0;0.0;;\n"
           "    TextureFilename { \"skin.png\"; }\n   }\n  }\n"
           "  XSkinMeshHeader {\n   1;\n   1;\n   1;\n  }\n"
           "  SkinWeights {\n   \"Hand\";\n   3;\n   0,\n   1,\n   2;\n   1.0,\n   1.0,\n   1.0;\n"
           "   1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;;\n  }\n"
           " }\n"
           "}\n"
           "AnimationSet Rise {\n"
           " Animation {\n  { Hand }\n"
           "  AnimationKey {\n   2;\n   2;\n   0;3;0.0,0.0,0.0;;,\n   20;3;0.0,2.0,0.0;;;\n  }\n"
           " }\n"
           "}\n";
}

// A binary X file of a grid of columns x rows vertices (two triangles a
// cell) with a normal, under the frame "Root".
inline std::string BinaryX(int columns, int rows)
{
    CBytes out;
    out.Raw("xof 0303bin 0032");
    auto name = [&](const std::string& text) { out.U16(1).I32(static_cast<int32_t>(text.size())).Raw(text); };
    auto open = [&] { out.U16(10); };
    auto close = [&] { out.U16(11); };
    auto integers = [&](const std::vector<int32_t>& values)
    {
        out.U16(6).I32(static_cast<int32_t>(values.size()));
        for (int32_t value : values)
            out.I32(value);
    };
    auto floats = [&](const std::vector<float>& values)
    {
        out.U16(7).I32(static_cast<int32_t>(values.size()));
        for (float value : values)
            out.F32(value);
    };
    std::vector<float> positions;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            positions.insert(positions.end(), {static_cast<float>(column), static_cast<float>(row), 0.0f});
    std::vector<int32_t> faces{2 * (columns - 1) * (rows - 1)};
    for (int row = 0; row + 1 < rows; ++row)
    {
        for (int column = 0; column + 1 < columns; ++column)
        {
            const int32_t a = row * columns + column, b = a + 1, c = a + columns, d = c + 1;
            faces.insert(faces.end(), {3, a, c, b, 3, b, c, d});
        }
    }
    std::vector<int32_t> normalFaces{faces[0]};
    for (int32_t face = 0; face < faces[0]; ++face)
        normalFaces.insert(normalFaces.end(), {3, 0, 0, 0});
    name("Frame");
    name("Root");
    open();
    name("Mesh");
    name("grid");
    open();
    integers({columns * rows});
    floats(positions);
    integers(faces);
    name("MeshNormals");
    open();
    integers({1});
    floats({0, 0, -1});
    integers(normalFaces);
    close();
    close();
    close();
    return out.Bytes();
}

// A two-frame MD2: one triangle whose top corner rises from frame "run1" to
// frame "run2"; its skin is named "skin.pcx".
inline std::string Md2()
{
    constexpr int32_t kVertices = 3;
    constexpr int32_t kFrameSize = 40 + 4 * kVertices;
    CBytes out;
    const int32_t skinsAt = 68, coordinatesAt = skinsAt + 64, trianglesAt = coordinatesAt + 3 * 4;
    const int32_t framesAt = trianglesAt + 12, commandsAt = framesAt + 2 * kFrameSize;
    const int32_t commands = 11;
    const int32_t end = commandsAt + 4 * commands;
    out.Raw("IDP2").I32(8).I32(64).I32(64).I32(kFrameSize);
    out.I32(1).I32(kVertices).I32(3).I32(1).I32(commands).I32(2);
    out.I32(skinsAt).I32(coordinatesAt).I32(trianglesAt).I32(framesAt).I32(commandsAt).I32(end);
    out.Field("skin.pcx", 64);
    out.U16(0).U16(0).U16(64).U16(0).U16(0).U16(64);
    out.U16(0).U16(1).U16(2).U16(0).U16(1).U16(2);
    for (int frame = 0; frame < 2; ++frame)
    {
        out.Floats({0.1f, 0.1f, 0.1f, 0, 0, 0}).Field(frame == 0 ? "run1" : "run2", 16);
        out.U8(0).U8(0).U8(0).U8(0);
        out.U8(100).U8(0).U8(0).U8(0);
        out.U8(0).U8(static_cast<uint8_t>(frame == 0 ? 100 : 200)).U8(0).U8(0);
    }
    out.I32(3);
    for (int corner = 0; corner < 3; ++corner)
        out.F32(0.0f).F32(0.0f).I32(corner);
    out.I32(0);
    return out.Bytes();
}

// An MD3 of one frame, the tag "tag_weapon" and one triangle surface whose
// shader names "skin.png".
inline std::string Md3()
{
    CBytes out;
    const int32_t framesAt = 108, tagsAt = framesAt + 56, surfacesAt = tagsAt + 112;
    const int32_t surfaceSize = 108 + 12 + 68 + 3 * 8 + 3 * 8;
    out.Raw("IDP3").I32(15).Field("model", 64).I32(0).I32(1).I32(1).I32(1).I32(0);
    out.I32(framesAt).I32(tagsAt).I32(surfacesAt).I32(surfacesAt + surfaceSize);
    out.Floats({-1, -1, -1, 1, 1, 1, 0, 0, 0, 1}).Field("frame0", 16);
    out.Field("tag_weapon", 64).Floats({1, 2, 3, 1, 0, 0, 0, 1, 0, 0, 0, 1});
    out.Raw("IDP3").Field("surface", 64).I32(0).I32(1).I32(1).I32(3).I32(1);
    const int32_t trianglesAt = 108, shadersAt = trianglesAt + 12, coordinatesAt = shadersAt + 68;
    out.I32(trianglesAt).I32(shadersAt).I32(coordinatesAt).I32(coordinatesAt + 24).I32(surfaceSize);
    out.I32(0).I32(1).I32(2);
    out.Field("skin.png", 64).I32(0);
    out.Floats({0, 0, 1, 0, 0, 1});
    for (int corner = 0; corner < 3; ++corner)
        out.U16(static_cast<uint16_t>(corner == 1 ? 64 : 0))
            .U16(static_cast<uint16_t>(corner == 2 ? 64 : 0))
            .U16(0)
            .U16(0);
    return out.Bytes();
}

// An MS3D of one triangle, a material with "skin.png" and the joint "hand"
// holding the top corner, with rotation and position keys (seconds 0, 1).
inline std::string Ms3d()
{
    CBytes out;
    out.Raw("MS3D000000").I32(4);
    out.U16(3);
    const float corners[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    for (int corner = 0; corner < 3; ++corner)
        out.U8(0)
            .Floats({corners[corner][0], corners[corner][1], corners[corner][2]})
            .U8(static_cast<uint8_t>(corner == 2 ? 0 : 0xff))
            .U8(1);
    out.U16(1);
    out.U16(0)
        .U16(0)
        .U16(1)
        .U16(2)
        .Floats({0, 0, -1, 0, 0, -1, 0, 0, -1})
        .Floats({0, 1, 0})
        .Floats({0, 0, 1});
    out.U8(1).U8(0);
    out.U16(1);
    out.U8(0).Field("group", 32).U16(1).U16(0).U8(0);
    out.U16(1);
    out.Field("skin", 32).Floats({0.2f, 0.2f, 0.2f, 1, 1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1}).F32(0).F32(1);
    out.U8(0).Field("skin.png", 128).Field("", 128);
    out.F32(10.0f).F32(0.0f).I32(11);
    out.U16(1);
    out.U8(0).Field("hand", 32).Field("", 32).Floats({0, 0, 0, 0, 0, 0}).U16(2).U16(2);
    out.Floats({0.0f, 0, 0, 0, 1.0f, 0, 0, 0.5f});
    out.Floats({0.0f, 0, 0, 0, 1.0f, 0, 2, 0});
    return out.Bytes();
}

// A PLY of one textured-less triangle in the encoding ("ascii",
// "binary_little_endian", "binary_big_endian").
inline std::string Ply(const std::string& encoding)
{
    std::string out = "ply\nformat " + encoding +
                      " 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                      "element face 1\nproperty list uchar int vertex_indices\nend_header\n";
    const float corners[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    if (encoding == "ascii")
        return out + "0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n";
    const bool big = encoding == "binary_big_endian";
    auto word = [&](uint32_t value)
    {
        for (int at = 0; at < 4; ++at)
            out += static_cast<char>((value >> (8 * (big ? 3 - at : at))) & 0xff);
    };
    for (const auto& corner : corners)
    {
        for (float value : corner)
        {
            uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            word(bits);
        }
    }
    out += '\x03';
    word(0);
    word(1);
    word(2);
    return out;
}

// An irrmesh of one triangle whose material names "skin.png".
inline std::string IrrMesh()
{
    return "<?xml version=\"1.0\"?>\n"
           "<mesh xmlns=\"http://irrlicht.sourceforge.net/IRRMESH_09_2007\" version=\"1.0\">\n"
           "<boundingBox minEdge=\"0 0 0\" maxEdge=\"1 1 0\" />\n"
           "<buffer>\n"
           "<boundingBox minEdge=\"0 0 0\" maxEdge=\"1 1 0\" />\n"
           "<material>\n"
           "<enum name=\"Type\" value=\"solid\" />\n"
           "<texture name=\"Texture1\" value=\"skin.png\" />\n"
           "<bool name=\"Lighting\" value=\"false\" />\n"
           "</material>\n"
           "<vertices type=\"standard\" vertexCount=\"3\">\n"
           "0 0 0 0 0 -1 ffffffff 0 0\n1 0 0 0 0 -1 ffffffff 1 0\n0 1 0 0 0 -1 ffffffff 0 1\n"
           "</vertices>\n"
           "<indices indexCount=\"3\">\n0 1 2\n</indices>\n"
           "</buffer>\n"
           "</mesh>\n";
}

// A COLLADA 1.4 file: the library sections given, one visual scene that
// instances what the nodes name.
inline std::string Collada(const std::string& libraries, const std::string& nodes)
{
    return "<?xml version=\"1.0\"?>\n"
           "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n" +
           libraries + "<library_visual_scenes><visual_scene id=\"scene\">\n" + nodes +
           "</visual_scene></library_visual_scenes>\n"
           "<scene><instance_visual_scene url=\"#scene\"/></scene>\n"
           "</COLLADA>\n";
}

// Two quads as a polygon list with positions and texture coordinates.
inline std::string ColladaQuads()
{
    return Collada("<library_geometries><geometry id=\"quads\"><mesh>\n"
                   "<source id=\"p\"><float_array id=\"pa\" count=\"18\">"
                   "0 0 0 1 0 0 2 0 0 0 1 0 1 1 0 2 1 0</float_array>\n"
                   "<technique_common><accessor source=\"#pa\" count=\"6\" stride=\"3\">"
                   "<param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
                   "<param name=\"Z\" type=\"float\"/></accessor></technique_common></source>\n"
                   "<source id=\"t\"><float_array id=\"ta\" count=\"4\">0 0 1 1</float_array>\n"
                   "<technique_common><accessor source=\"#ta\" count=\"2\" stride=\"2\">"
                   "<param name=\"S\" type=\"float\"/><param name=\"T\" type=\"float\"/>"
                   "</accessor></technique_common></source>\n"
                   "<vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices>\n"
                   "<polylist count=\"2\"><input offset=\"0\" semantic=\"VERTEX\" source=\"#v\"/>"
                   "<input offset=\"1\" semantic=\"TEXCOORD\" source=\"#t\"/>"
                   "<vcount>4 4</vcount><p>0 0 1 1 4 1 3 0 1 0 2 1 5 1 4 0</p></polylist>\n"
                   "</mesh></geometry></library_geometries>\n",
                   "<node id=\"n\"><instance_geometry url=\"#quads\"/></node>\n");
}

// A scene of only a camera, or only a light: no geometry at all.
inline std::string ColladaCamera()
{
    return Collada("<library_cameras><camera id=\"eye\"><optics><technique_common><perspective>"
                   "<yfov>45</yfov><znear>0.1</znear><zfar>100</zfar></perspective></technique_common>"
                   "</optics></camera></library_cameras>\n",
                   "<node id=\"n\"><instance_camera url=\"#eye\"/></node>\n");
}
inline std::string ColladaLight()
{
    return Collada("<library_lights><light id=\"sun\"><technique_common><point><color>1 1 1</color>"
                   "</point></technique_common></light></library_lights>\n",
                   "<node id=\"n\"><instance_light url=\"#sun\"/></node>\n");
}

// A 3DS chunk: 16-bit id, 32-bit length (with the 6 header bytes), contents.
inline std::string Chunk3ds(uint16_t id, const std::string& contents)
{
    CBytes out;
    out.U16(id).I32(static_cast<int32_t>(contents.size() + 6)).Raw(contents);
    return out.Bytes();
}

// A 3DS of one triangle with the material "skin" textured by "skin.png".
inline std::string ThreeDs()
{
    CBytes color;
    color.U8(255).U8(255).U8(255);
    const std::string diffuse = Chunk3ds(0xA020, Chunk3ds(0x0011, color.Bytes()));
    CBytes mapName;
    mapName.Text("skin.png");
    const std::string map = Chunk3ds(0xA200, Chunk3ds(0xA300, mapName.Bytes()));
    CBytes materialName;
    materialName.Text("skin");
    const std::string material = Chunk3ds(0xAFFF, Chunk3ds(0xA000, materialName.Bytes()) + diffuse + map);
    CBytes vertices;
    vertices.U16(3).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    CBytes coordinates;
    coordinates.U16(3).Floats({0, 0, 1, 0, 0, 1});
    CBytes faceMaterial;
    faceMaterial.Text("skin").U16(1).U16(0);
    CBytes faces;
    faces.U16(1).U16(0).U16(1).U16(2).U16(7).Raw(Chunk3ds(0x4130, faceMaterial.Bytes()));
    const std::string triangles =
        Chunk3ds(0x4100, Chunk3ds(0x4110, vertices.Bytes()) + Chunk3ds(0x4140, coordinates.Bytes()) +
                             Chunk3ds(0x4120, faces.Bytes()));
    CBytes objectName;
    objectName.Text("triangle");
    const std::string object = Chunk3ds(0x4000, objectName.Bytes() + triangles);
    CBytes version;
    version.I32(3);
    const std::string editor = Chunk3ds(0x3D3D, Chunk3ds(0x3D3E, version.Bytes()) + material + object);
    return Chunk3ds(0x4D4D, Chunk3ds(0x0002, version.Bytes()) + editor);
}

// An OBJ of one textured triangle, its material library and the texture.
inline std::vector<std::pair<std::string, std::string>> ObjWithMaterials(const std::string& stem)
{
    return {{stem + ".obj", "mtllib " + stem +
                                ".mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n"
                                "usemtl skin\nf 1/1 2/2 3/3\n"},
            {stem + ".mtl", "newmtl skin\nKd 1 1 1\nmap_Kd skin.png\n"},
            {"skin.png", Png()}};
}

// A Quake 3 map: the world model of a square polygon face and a 3 x 3 patch,
// the polygon with the texture "textures/halvane/plain", the patch with
// "textures/halvane/glow", which the shader script (for scripts/
// common.shader) gives a stage: its faces become a Quake 3 shader node.
inline std::string Bsp()
{
    enum
    {
        kLumps = 17
    };
    std::string lumps[kLumps];
    lumps[0] = "{\n\"classname\" \"worldspawn\"\n}\n";
    lumps[0] += '\0';
    CBytes textures;
    textures.Field("textures/halvane/plain", 64).I32(0).I32(1);
    textures.Field("textures/halvane/glow", 64).I32(0).I32(1);
    lumps[1] = textures.Bytes();
    CBytes planes;
    planes.Floats({0, 0, 1, 0});
    lumps[2] = planes.Bytes();
    CBytes leafs;
    leafs.I32(0).I32(0).I32(-64).I32(-64).I32(-64).I32(64).I32(64).I32(64).I32(0).I32(2).I32(0).I32(0);
    lumps[4] = leafs.Bytes();
    CBytes leafFaces;
    leafFaces.I32(0).I32(1);
    lumps[5] = leafFaces.Bytes();
    CBytes models;
    models.Floats({-64, -64, -64, 64, 64, 64}).I32(0).I32(2).I32(0).I32(0);
    lumps[7] = models.Bytes();
    CBytes vertices;
    auto vertex = [&](float x, float y, float z) {
        vertices.Floats({x, y, z, x / 64, y / 64, 0, 0, 0, 0, 1}).U8(255).U8(255).U8(255).U8(255);
    };
    vertex(0, 0, 0);
    vertex(64, 0, 0);
    vertex(64, 64, 0);
    vertex(0, 64, 0);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            vertex(static_cast<float>(column * 32), static_cast<float>(row * 32),
                   row == 1 && column == 1 ? 16.0f : 0.0f);
    lumps[10] = vertices.Bytes();
    CBytes meshVertices;
    for (int32_t index : {0, 1, 2, 0, 2, 3})
        meshVertices.I32(index);
    lumps[11] = meshVertices.Bytes();
    CBytes faces;
    auto face = [&](int32_t texture, int32_t type, int32_t first, int32_t count, int32_t meshFirst,
                    int32_t meshCount, int32_t width, int32_t height)
    {
        faces.I32(texture).I32(-1).I32(type).I32(first).I32(count).I32(meshFirst).I32(meshCount).I32(-1);
        faces.I32(0).I32(0).I32(0).I32(0);
        faces.Floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1});
        faces.I32(width).I32(height);
    };
    face(0, 1, 0, 4, 0, 6, 0, 0);
    face(1, 2, 4, 9, 0, 0, 3, 3);
    lumps[13] = faces.Bytes();
    CBytes out;
    out.Raw("IBSP").I32(0x2e);
    int32_t at = 8 + 8 * kLumps;
    for (const std::string& lump : lumps)
    {
        out.I32(lump.empty() ? 0 : at).I32(static_cast<int32_t>(lump.size()));
        at += static_cast<int32_t>(lump.size());
    }
    for (const std::string& lump : lumps)
        out.Raw(lump);
    return out.Bytes();
}

// The shader script that gives the map's glowing texture a stage.
inline std::string BspShaderScript()
{
    return "textures/halvane/glow\n{\n\t{\n\t\tmap textures/halvane/glow.png\n\t\tblendfunc add\n\t}\n}\n";
}

// Every fixture above under its file name (the map's script under
// scripts/common.shader, the textures beside the models).
inline std::vector<std::pair<std::string, std::string>> AllFiles()
{
    std::vector<std::pair<std::string, std::string>> files = {
        {"skinned.b3d", SkinnedB3d()},
        {"skinned.x", SkinnedTextX()},
        {"run.md2", Md2()},
        {"tagged.md3", Md3()},
        {"keyed.ms3d", Ms3d()},
        {"ascii.ply", Ply("ascii")},
        {"little.ply", Ply("binary_little_endian")},
        {"big.ply", Ply("binary_big_endian")},
        {"triangle.irrmesh", IrrMesh()},
        {"quads.dae", ColladaQuads()},
        {"camera.dae", ColladaCamera()},
        {"light.dae", ColladaLight()},
        {"triangle.3ds", ThreeDs()},
        {"map.bsp", Bsp()},
        {"scripts/common.shader", BspShaderScript()},
        {"textures/halvane/glow.png", Png()},
        {"textures/halvane/plain.png", Png()},
    };
    for (auto& file : ObjWithMaterials("textured"))
        files.push_back(file);
    return files;
}

} // namespace ModelFixtures
