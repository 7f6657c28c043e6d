#include "graphics/meshes/MeshReaderClient.h"

#include "irrlicht/MeshDescription.h"
#include "irrlicht/MeshReaderProtocol.h"
#include "irrlicht/MeshWire.h"
#include "platform/ExecutablePath.h"

#include <chrono>
#include <cstdlib>

namespace Graphics
{

namespace Protocol = MeshReaderProtocol;
using EResult = Platform::CChildProcess::EResult;

namespace
{

// What one model may ask for: files, and their bytes all told.
constexpr uint32_t kMaxQueries = 512;
constexpr size_t kMaxServedBytes = 256u * 1024 * 1024;
constexpr size_t kMaxQueryBytes = 4 + 4096;
constexpr size_t kMaxFailureBytes = 4 + 4096;
// Files the engine answers with a model before the reader asks: those that
// models opened last and that needed no bytes.
constexpr size_t kMaxToldAnswers = 8;

using CClock = std::chrono::steady_clock;

uint32_t MsLeft(CClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - CClock::now()).count();
    return left <= 0 ? 0u : static_cast<uint32_t>(left);
}

} // namespace

std::string CMeshReaderClient::FindProgram()
{
    const char* chosen = std::getenv("HALVANE_MESH_READER");
    if (chosen != nullptr && *chosen != 0)
        return chosen;
    std::string self = Platform::GetExecutablePath();
    const size_t slash = self.rfind('/');
    if (slash == std::string::npos)
        return Protocol::kProgramName;
    return self.substr(0, slash + 1) + Protocol::kProgramName;
}

bool CMeshReaderClient::Start(std::string& reason)
{
    // A reader that has used most of its processor time gives way to a new
    // one before it is handed a model.
    if (m_process.IsStarted() && m_process.GetCpuSeconds() + m_settings.timeoutMs / 1000.0 >=
                                     static_cast<double>(m_settings.cpuSeconds))
        m_process.Stop();
    if (m_process.IsStarted())
        return true;
    const std::string program = m_settings.program.empty() ? FindProgram() : m_settings.program;
    Platform::CChildProcess::SLimits limits;
    limits.addressSpaceBytes = m_settings.addressSpaceBytes;
    limits.cpuSeconds = m_settings.cpuSeconds;
    limits.openFiles = 64;
    if (!m_process.Start(program, {}, limits))
    {
        reason = "the model reader " + program + " could not be started";
        return false;
    }
    m_lastProcessId = m_process.GetProcessId();
    return true;
}

bool CMeshReaderClient::Lost(EResult result, std::string& reason)
{
    switch (result)
    {
    case EResult::TimedOut:
        m_process.Stop();
        reason = "the model reader took longer than " + std::to_string(m_settings.timeoutMs) + " ms";
        break;
    case EResult::Closed:
        reason = "the model reader ended while reading the file (" + m_process.Finish() + ")";
        break;
    default:
        m_process.Stop();
        if (reason.empty())
            reason = "the model reader could not be talked to";
        break;
    }
    return false;
}

void CMeshReaderClient::Remember(const std::string& name)
{
    // The file asked for last comes first; the one asked for longest ago
    // makes room.
    m_toldNames.insert(m_toldNames.begin(), name);
    if (m_toldNames.size() > kMaxToldAnswers)
        m_toldNames.pop_back();
}

bool CMeshReaderClient::Read(const std::string& name, const std::vector<SParameter>& parameters,
                             std::string_view bytes, const FileServer& server, std::string& description,
                             std::string& reason)
{
    reason.clear();
    if (!Start(reason))
        return false;
    const CClock::time_point deadline = CClock::now() + std::chrono::milliseconds(m_settings.timeoutMs);

    CWireWriter request;
    request.U32(Protocol::kLoad);
    request.U32(0);
    request.Text(name);
    request.U32(static_cast<uint32_t>(parameters.size()));
    for (const SParameter& parameter : parameters)
    {
        request.Text(parameter.name);
        request.U8(parameter.kind);
        if (parameter.kind == Protocol::kString)
            request.Text(parameter.text);
        else if (parameter.kind == Protocol::kBool)
            request.U8(parameter.number != 0 ? 1 : 0);
        else
            request.U32(parameter.number);
    }
    // Models read one after another mostly open the same files (a shared
    // texture, looked for under the same names): the files the last model
    // asked for are answered now, as they are now, and the reader does not
    // wait for those answers.
    CWireWriter answers;
    std::string content;
    for (size_t index = 0; index < m_toldNames.size();)
    {
        content.clear();
        const uint8_t status = server(m_toldNames[index], content);
        if (status == Protocol::kBytes)
        {
            m_toldNames.erase(m_toldNames.begin() + static_cast<std::ptrdiff_t>(index));
            continue;
        }
        answers.Text(m_toldNames[index]);
        answers.U8(status);
        ++index;
    }
    request.U32(static_cast<uint32_t>(m_toldNames.size()));
    request.Raw(answers.Bytes().data(), answers.Bytes().size());
    request.U32(static_cast<uint32_t>(bytes.size()));
    // The file's bytes follow the head as they are, without a copy, in the
    // same write.
    std::string& start = request.Bytes();
    const uint32_t length = static_cast<uint32_t>(start.size() - 8 + bytes.size());
    for (int at = 0; at < 4; ++at)
        start[4 + at] = static_cast<char>((length >> (8 * at)) & 0xff);
    EResult result =
        m_process.Write(start.data(), start.size(), bytes.data(), bytes.size(), MsLeft(deadline));
    if (result != EResult::Done)
        return Lost(result, reason);

    uint32_t queries = 0;
    size_t served = 0;
    for (;;)
    {
        char header[8];
        result = m_process.Read(header, sizeof header, MsLeft(deadline));
        if (result != EResult::Done)
            return Lost(result, reason);
        CWireReader head(std::string_view(header, sizeof header));
        const uint32_t tag = head.U32();
        const uint32_t size = head.U32();
        const size_t limit = tag == Protocol::kResult    ? CMeshDescription::kMaxBytes
                             : tag == Protocol::kQuery   ? kMaxQueryBytes
                             : tag == Protocol::kFailure ? kMaxFailureBytes
                                                         : 0;
        if (size > limit)
        {
            reason = "the model reader sent a message the engine does not read";
            return Lost(EResult::Failed, reason);
        }
        if (tag == Protocol::kResult)
        {
            // Into the caller's buffer, which keeps its memory from one
            // model to the next.
            description.resize(size);
            result = m_process.Read(description.data(), size, MsLeft(deadline));
            return result == EResult::Done ? true : Lost(result, reason);
        }
        std::string payload(size, '\0');
        result = m_process.Read(payload.data(), size, MsLeft(deadline));
        if (result != EResult::Done)
            return Lost(result, reason);
        CWireReader in(payload);
        const std::string text = in.Text(4096);
        if (in.Failed() || in.Left() != 0)
        {
            reason = "the model reader sent a message the engine does not read";
            return Lost(EResult::Failed, reason);
        }
        if (tag == Protocol::kFailure)
        {
            reason = text;
            return false;
        }
        // A file the reader's loader opens.
        if (++queries > kMaxQueries)
        {
            reason = "the model opens more than " + std::to_string(kMaxQueries) + " files";
            return Lost(EResult::Failed, reason);
        }
        content.clear();
        const uint8_t status = server(text, content);
        if (status != Protocol::kBytes)
            Remember(text);
        served += content.size();
        if (served > kMaxServedBytes)
        {
            reason = "the files the model opens hold more than " + std::to_string(kMaxServedBytes) + " bytes";
            return Lost(EResult::Failed, reason);
        }
        CWireWriter answer;
        answer.U32(Protocol::kAnswer);
        answer.U32(static_cast<uint32_t>(1 + (status == Protocol::kBytes ? content.size() : 0)));
        answer.U8(status);
        if (status == Protocol::kBytes)
            answer.Raw(content.data(), content.size());
        result = m_process.Write(answer.Bytes().data(), answer.Bytes().size(), MsLeft(deadline));
        if (result != EResult::Done)
            return Lost(result, reason);
    }
}

} // namespace Graphics
