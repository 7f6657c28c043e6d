#pragma once

// What the graphics engine tests share: an engine object whose loop steps
// one graphics engine and notes quit requests, a recorder on every channel,
// and a camera for the frame's camera passes.

#include "core/app/SimulationManager.h"
#include "core/events/Multicast.h"
#include "graphics/engine/FrameEntity.h"
#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The engine object with one real graphics engine in its loop. Quit is
// noted instead of ending the process.
class CGraphicsSimulation : public Simulation::CSimulationManager
{
public:
    CGraphicsSimulation() : graphics(this)
    {
        GetSubEngineMap().clear();
        GetSubEngineMap()["graphics"] = &graphics;
    }
    ~CGraphicsSimulation() override { GetSubEngineMap().clear(); }

    void Quit(int32_t status) override { quits.push_back(status); }

    // A headless device; true when it opened.
    bool InitNull(uint32_t width = 640, uint32_t height = 480, uint32_t frameRate = 100)
    {
        return graphics.Init("NULL", width, height, false, 16, false, false, false, frameRate, 0, 0, -1, -1,
                             true);
    }

    Graphics::CGraphicsEngine graphics;
    std::vector<int32_t> quits;
};

// Notes every publication on every channel, by channel name, in order; an
// optional action runs on each.
class CChannelRecorder
{
public:
    using Action = std::function<void(const std::string& channel)>;

    CChannelRecorder() = default;
    CChannelRecorder(const CChannelRecorder&) = delete;
    CChannelRecorder& operator=(const CChannelRecorder&) = delete;

    // The recorded channels without those in the list.
    std::vector<std::string> Without(const std::vector<std::string>& ignored) const
    {
        std::vector<std::string> kept;
        for (const std::string& channel : journal)
        {
            bool skip = false;
            for (const std::string& name : ignored)
                skip = skip || name == channel;
            if (!skip)
                kept.push_back(channel);
        }
        return kept;
    }

    std::vector<std::string> journal;
    Action action;

private:
    template <class K> class CChannel : public Misc::Multicast::CSubscriberOf<K>
    {
    public:
        CChannel(CChannelRecorder* recorder, const char* name) : m_recorder(recorder), m_name(name)
        {
            Misc::Multicast::CMulticastOf<K>::Subscribe(this, 0);
        }
        ~CChannel() override { Misc::Multicast::CMulticastOf<K>::Unsubscribe(this); }
        CChannel(const CChannel&) = delete;
        CChannel& operator=(const CChannel&) = delete;

        bool OnEvent(const typename K::Event&) override
        {
            m_recorder->journal.push_back(m_name);
            if (m_recorder->action)
                m_recorder->action(m_name);
            return false;
        }

    private:
        CChannelRecorder* m_recorder;
        std::string m_name;
    };

#define HALVANE_RECORD_CHANNEL(kind) CChannel<Misc::Multicast::Kind::kind> m_##kind{this, #kind};
    HALVANE_EVENT_KINDS(HALVANE_RECORD_CHANNEL)
#undef HALVANE_RECORD_CHANNEL
};

// Keeps the records one channel receives; an optional reply says whether
// the subscriber handled the event.
template <class K> class CRecordListener : public Misc::Multicast::CSubscriberOf<K>
{
public:
    explicit CRecordListener(std::function<bool(const typename K::Event&)> reply = nullptr)
        : m_reply(std::move(reply))
    {
        Misc::Multicast::CMulticastOf<K>::Subscribe(this, 0);
    }
    ~CRecordListener() override { Misc::Multicast::CMulticastOf<K>::Unsubscribe(this); }
    CRecordListener(const CRecordListener&) = delete;
    CRecordListener& operator=(const CRecordListener&) = delete;

    bool OnEvent(const typename K::Event& event) override
    {
        records.push_back(event);
        return m_reply ? m_reply(event) : false;
    }

    std::vector<typename K::Event> records;

private:
    std::function<bool(const typename K::Event&)> m_reply;
};

// A camera with a scene node of the engine's device and a viewport.
class CTestCamera final : public Graphics::IFrameCamera
{
public:
    CTestCamera(Graphics::CGraphicsEngine& engine, std::string id, CRect viewPort = CRect(0, 0, 1, 1))
        : m_id(std::move(id)), m_viewPort(viewPort)
    {
        m_node = engine.GetDevice()->getSceneManager()->addCameraSceneNode(
            nullptr, irr::core::vector3df(0, 0, -10), irr::core::vector3df(0, 0, 0), -1, false);
    }

    irr::scene::ICameraSceneNode* GetCameraNode() const override { return m_node; }
    CRect GetViewPort() const override { return m_viewPort; }
    std::string GetCameraId() const override { return m_id; }

private:
    irr::scene::ICameraSceneNode* m_node;
    std::string m_id;
    CRect m_viewPort;
};

// An entity that notes what the frame asks of it.
class CTestFrameEntity final : public Graphics::IFrameEntity
{
public:
    void UpdateTransformation() override { ++updates; }
    void AnimateJoints() override { ++animations; }

    int updates = 0;
    int animations = 0;
};
