#pragma once

#include "platform/ChildProcess.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Graphics
{

// The engine's side of the model reader process (halvane-meshreader): sends
// it a model file, answers the files its loader opens, and takes back the
// mesh's description. The reader is started when the first model needs it
// and kept for the models after it; one that crashes, hangs, exceeds its
// limits or says what it should not is killed and reaped, the model is
// refused, and the next model starts a new one.
class CMeshReaderClient
{
public:
    struct SSettings
    {
        // The reader program; empty: FindProgram().
        std::string program;
        // Wall-clock time for one model, from sending it to the last byte
        // of its description.
        uint32_t timeoutMs = 20000;
        uint64_t addressSpaceBytes = 2ull * 1024 * 1024 * 1024;
        // Processor time of one reader; it is replaced before a model when
        // less than a model's time is left.
        uint32_t cpuSeconds = 120;
    };

    // Answers a file that the reader's loader opens: MeshReaderProtocol's
    // kAbsent, kImage, or kBytes with the file's bytes.
    using FileServer = std::function<uint8_t(const std::string& name, std::string& bytes)>;

    // A loader parameter of the scene, as the reader sets it.
    struct SParameter
    {
        std::string name;
        uint8_t kind;
        std::string text;
        uint32_t number;
    };

    explicit CMeshReaderClient(SSettings settings) : m_settings(std::move(settings)) {}

    // The model's description, or false with the reason.
    bool Read(const std::string& name, const std::vector<SParameter>& parameters, std::string_view bytes,
              const FileServer& server, std::string& description, std::string& reason);

    // The wall-clock time for one model from now on.
    void SetTimeoutMs(uint32_t timeoutMs) { m_settings.timeoutMs = timeoutMs; }

    // The reader's process id while one runs (-1 otherwise).
    int GetProcessId() const { return m_process.GetProcessId(); }
    // The process id of the last reader started (-1 before the first).
    int GetLastProcessId() const { return m_lastProcessId; }
    void Stop() { m_process.Stop(); }

    // HALVANE_MESH_READER when it is set, else halvane-meshreader beside the
    // running program.
    static std::string FindProgram();

private:
    bool Start(std::string& reason);
    // The reader is dropped and the reason given.
    bool Lost(Platform::CChildProcess::EResult result, std::string& reason);

    SSettings m_settings;
    Platform::CChildProcess m_process;
    int m_lastProcessId = -1;
    // A file the reader asked for, to be answered with the next models.
    void Remember(const std::string& name);

    // The files models asked for last whose answers need no bytes, told
    // with every model.
    std::vector<std::string> m_toldNames;
};

} // namespace Graphics
