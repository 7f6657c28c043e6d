#pragma once

// A sub-engine whose answers a test sets, and which notes its calls in a
// shared journal.
#include "core/app/SubEngine.h"

#include <functional>
#include <string>
#include <vector>

class CFakeSubEngine : public Simulation::CSubEngine
{
public:
    CFakeSubEngine(Simulation::CSimulationManager* owner, std::string name,
                   std::vector<std::string>* journal = nullptr)
        : Simulation::CSubEngine(owner), m_name(std::move(name)), m_journal(journal)
    {
    }

    bool OnStart() override
    {
        Note("start");
        ++starts;
        return true;
    }
    bool OnStop() override
    {
        Note("stop");
        ++stops;
        if (stopsNeedingTime > 0)
        {
            --stopsNeedingTime;
            return false;
        }
        return true;
    }
    bool Step() override
    {
        Note("step");
        ++steps;
        if (onStep)
            onStep();
        return stepResult;
    }
    bool IsRunning() override { return running; }

    bool running = true;
    bool stepResult = true;
    int stopsNeedingTime = 0;
    std::function<void()> onStep;
    int starts = 0;
    int stops = 0;
    int steps = 0;

private:
    void Note(const char* what)
    {
        if (m_journal != nullptr)
            m_journal->push_back(m_name + " " + what);
    }

    std::string m_name;
    std::vector<std::string>* m_journal;
};
