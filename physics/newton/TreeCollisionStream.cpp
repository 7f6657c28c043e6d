#include "physics/newton/TreeCollisionStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace TreeCollisionStream
{

namespace
{

constexpr char kMagic[4] = {'H', 'V', 'T', 'C'};
constexpr uint32_t kVersion = 1;
// Elements moved per callback, so a lying count cannot make the reader
// allocate more than what the stream really holds.
constexpr size_t kChunkBytes = 48 * 1024;

class Checksum
{
public:
    void Add(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
            m_value = (m_value ^ bytes[i]) * 16777619u;
    }
    uint32_t Value() const { return m_value; }

private:
    uint32_t m_value = 2166136261u;
};

void PutU32(unsigned char* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t GetU32(const unsigned char* in)
{
    return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

class Writer
{
public:
    Writer(NewtonSerialize write, void* handle) : m_write(write), m_handle(handle) {}
    void U32(uint32_t value)
    {
        unsigned char bytes[4];
        PutU32(bytes, value);
        Put(bytes, 4);
    }
    void F32(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        U32(bits);
    }
    void Flush()
    {
        if (!m_buffer.empty())
            m_write(m_handle, m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }
    void Put(const unsigned char* bytes, size_t size)
    {
        m_checksum.Add(bytes, size);
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
        if (m_buffer.size() >= kChunkBytes)
            Flush();
    }
    uint32_t ChecksumValue() const { return m_checksum.Value(); }

private:
    NewtonSerialize m_write;
    void* m_handle;
    Checksum m_checksum;
    std::vector<unsigned char> m_buffer;
};

class Reader
{
public:
    Reader(NewtonDeserialize read, void* handle) : m_read(read), m_handle(handle) {}
    // Reads count records of recordSize bytes, chunk by chunk, handing each
    // record to take; false on a short read.
    template <typename Take> bool Records(uint32_t count, size_t recordSize, Take take)
    {
        const size_t perChunk = kChunkBytes / recordSize;
        std::vector<unsigned char> chunk;
        for (uint32_t done = 0; done < count;)
        {
            const size_t now = std::min<size_t>(perChunk, count - done);
            chunk.resize(now * recordSize);
            if (!Bytes(chunk.data(), chunk.size()))
                return false;
            for (size_t i = 0; i < now; ++i)
                if (!take(&chunk[i * recordSize]))
                    return false;
            done += static_cast<uint32_t>(now);
        }
        return true;
    }
    bool Bytes(unsigned char* out, size_t size)
    {
        if (m_read(m_handle, out, size) == 0)
            return false;
        m_checksum.Add(out, size);
        return true;
    }
    uint32_t ChecksumValue() const { return m_checksum.Value(); }
    bool ReadRaw(unsigned char* out, size_t size) { return m_read(m_handle, out, size) != 0; }

private:
    NewtonDeserialize m_read;
    void* m_handle;
    Checksum m_checksum;
};

} // namespace

void Write(const TreeMesh& mesh, NewtonSerialize write, void* handle)
{
    if (!write)
        return;
    Writer out(write, handle);
    out.Put(reinterpret_cast<const unsigned char*>(kMagic), 4);
    out.U32(kVersion);
    out.U32(static_cast<uint32_t>(mesh.Vertices().size() / 3));
    out.U32(static_cast<uint32_t>(mesh.TriangleCount()));
    for (float value : mesh.Vertices())
        out.F32(value);
    for (int t = 0; t < mesh.TriangleCount(); ++t)
    {
        for (int c = 0; c < 3; ++c)
            out.U32(static_cast<uint32_t>(mesh.Indices()[t * 3 + c]));
        out.U32(static_cast<uint32_t>(mesh.Attributes()[t]));
    }
    const uint32_t checksum = out.ChecksumValue();
    out.Flush();
    unsigned char bytes[4];
    PutU32(bytes, checksum);
    write(handle, bytes, 4);
}

std::unique_ptr<TreeMesh> Read(NewtonDeserialize read, void* handle)
{
    if (!read)
        return nullptr;
    Reader in(read, handle);
    unsigned char header[16];
    if (!in.Bytes(header, sizeof(header)) || std::memcmp(header, kMagic, 4) != 0 ||
        GetU32(header + 4) != kVersion)
        return nullptr;
    const uint32_t vertexCount = GetU32(header + 8);
    const uint32_t triangleCount = GetU32(header + 12);
    // Every vertex belongs to some triangle, so there are at most three per
    // triangle; no triangles means no vertices.
    if (triangleCount > kMaxTriangles || uint64_t(vertexCount) > uint64_t(triangleCount) * 3 ||
        (triangleCount > 0 && vertexCount < 3))
        return nullptr;

    std::vector<float> vertices;
    std::vector<int32_t> indices;
    std::vector<int32_t> attributes;
    const bool verticesRead = in.Records(vertexCount, 12,
                                         [&](const unsigned char* record)
                                         {
                                             for (int i = 0; i < 3; ++i)
                                             {
                                                 const uint32_t bits = GetU32(record + 4 * i);
                                                 float value;
                                                 std::memcpy(&value, &bits, 4);
                                                 if (!std::isfinite(value))
                                                     return false;
                                                 vertices.push_back(value);
                                             }
                                             return true;
                                         });
    if (!verticesRead)
        return nullptr;
    const bool trianglesRead = in.Records(triangleCount, 16,
                                          [&](const unsigned char* record)
                                          {
                                              for (int i = 0; i < 3; ++i)
                                              {
                                                  const uint32_t index = GetU32(record + 4 * i);
                                                  if (index >= vertexCount)
                                                      return false;
                                                  indices.push_back(static_cast<int32_t>(index));
                                              }
                                              attributes.push_back(static_cast<int32_t>(GetU32(record + 12)));
                                              return true;
                                          });
    if (!trianglesRead)
        return nullptr;
    const uint32_t expected = in.ChecksumValue();
    unsigned char trailer[4];
    if (!in.ReadRaw(trailer, 4) || GetU32(trailer) != expected)
        return nullptr;
    return std::make_unique<TreeMesh>(std::move(vertices), std::move(indices), std::move(attributes));
}

} // namespace TreeCollisionStream
