// Publishing on a channel with N subscribers, next to the same N subscribers
// called directly through a plain loop of virtual calls. "per_subscriber" is
// the time per subscriber call.
#include "core/events/Multicast.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace Misc::Multicast;

namespace
{

using Tick = Simulation::Multicast::CEvtTick;

class CCounter : public CSubscriberOf<Kind::Tick>
{
public:
    bool OnEvent(const Tick& tick) override
    {
        m_sum += tick.time;
        return false;
    }
    uint64_t m_sum = 0;
};

void SetPerSubscriber(benchmark::State& state)
{
    state.counters["per_subscriber"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Publish(benchmark::State& state)
{
    std::vector<CCounter> subscribers(static_cast<size_t>(state.range(0)));
    for (auto& subscriber : subscribers)
        CMulticastOf<Kind::Tick>::Subscribe(&subscriber, 0);
    Tick tick{nullptr, 1, 0};
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(CMulticastOf<Kind::Tick>::Publish(tick));
        ++tick.time;
    }
    for (auto& subscriber : subscribers)
        CMulticastOf<Kind::Tick>::Unsubscribe(&subscriber);
    SetPerSubscriber(state);
}

void BM_VirtualCallLoop(benchmark::State& state)
{
    std::vector<CCounter> subscribers(static_cast<size_t>(state.range(0)));
    std::vector<CSubscriberOf<Kind::Tick>*> pointers;
    for (auto& subscriber : subscribers)
        pointers.push_back(&subscriber);
    benchmark::DoNotOptimize(pointers.data());
    Tick tick{nullptr, 1, 0};
    for (auto _ : state)
    {
        bool handled = false;
        for (auto* subscriber : pointers)
            handled = subscriber->Dispatch(tick, handled) || handled;
        benchmark::DoNotOptimize(handled);
        ++tick.time;
    }
    SetPerSubscriber(state);
}

} // namespace

BENCHMARK(BM_Publish)->Arg(1)->Arg(10)->Arg(100);
BENCHMARK(BM_VirtualCallLoop)->Arg(1)->Arg(10)->Arg(100);
