#include "platform/SynthServerLatency.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <pulse/pulseaudio.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kReadings = 6;
constexpr auto kBetweenReadings = std::chrono::milliseconds(15);
constexpr auto kGiveUp = std::chrono::milliseconds(400);

struct Query {
    pa_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    bool ready = false;
    bool failed = false;
    bool done = false;
    std::optional<std::int64_t> latency; // us
};

void OnState(pa_context* context, void* data) {
    auto* query = static_cast<Query*>(data);
    const pa_context_state_t state = pa_context_get_state(context);
    query->ready = state == PA_CONTEXT_READY;
    query->failed = state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED;
}

void OnSinkInput(pa_context*, const pa_sink_input_info* info, int eol, void* data) {
    auto* query = static_cast<Query*>(data);
    if (eol != 0) {
        query->done = true;
        return;
    }
    const char* pid = pa_proplist_gets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
    if (pid == nullptr || std::strtol(pid, nullptr, 10) != static_cast<long>(::getpid()))
        return;
    const auto latency = static_cast<std::int64_t>(info->buffer_usec + info->sink_usec);
    query->latency = query->latency ? std::min(*query->latency, latency) : latency;
}

// Runs the loop until `until` holds or the time is up.
template <typename Until>
bool Iterate(Query& query, Until until, std::chrono::steady_clock::time_point deadline) {
    while (!until()) {
        if (query.failed || std::chrono::steady_clock::now() > deadline)
            return false;
        if (pa_mainloop_iterate(query.loop, 0, nullptr) < 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace

std::optional<std::chrono::microseconds> SynthServerLatency::Read() {
    Query query;
    query.loop = pa_mainloop_new();
    if (query.loop == nullptr)
        return std::nullopt;
    query.context = pa_context_new(pa_mainloop_get_api(query.loop), "Druvel latency");
    const auto deadline = std::chrono::steady_clock::now() + kGiveUp;
    if (query.context != nullptr) {
        pa_context_set_state_callback(query.context, &OnState, &query);
        // No autospawn: a machine without a server must not get one for a question.
        if (pa_context_connect(query.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
            Iterate(
                query, [&] { return query.ready; }, deadline)) {
            for (int i = 0; i < kReadings; ++i) {
                query.done = false;
                pa_operation* operation =
                    pa_context_get_sink_input_info_list(query.context, &OnSinkInput, &query);
                if (operation == nullptr)
                    break;
                const bool answered = Iterate(
                    query, [&] { return query.done; }, deadline);
                pa_operation_unref(operation);
                if (!answered)
                    break;
                std::this_thread::sleep_for(kBetweenReadings);
            }
        }
        pa_context_disconnect(query.context);
        pa_context_unref(query.context);
    }
    pa_mainloop_free(query.loop);
    if (!query.latency)
        return std::nullopt;
    return std::chrono::microseconds(*query.latency);
}
