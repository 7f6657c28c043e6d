#pragma once

#include <ILogger.h>

namespace Graphics
{

// Keeps the device's log silent for a scope (where the engine reports a
// failure itself, or expects one).
class CSilentLog
{
public:
    explicit CSilentLog(irr::ILogger* logger) : m_logger(logger), m_level(logger->getLogLevel())
    {
        m_logger->setLogLevel(irr::ELL_NONE);
    }
    ~CSilentLog() { m_logger->setLogLevel(m_level); }
    CSilentLog(const CSilentLog&) = delete;
    CSilentLog& operator=(const CSilentLog&) = delete;

private:
    irr::ILogger* m_logger;
    irr::ELOG_LEVEL m_level;
};

} // namespace Graphics
