#pragma once
// State shared by every interface of one simulated bus: the one mutex, the wake-up of
// blocked input reads, the transcript and the list of protocol violations.
#include "simulator/SimBus.h"

#include <condition_variable>
#include <mutex>

namespace simulator {

struct BusCore {
    std::mutex mutex;
    std::condition_variable inputArrived; // also signalled on unplug and interrupt
    std::vector<TranscriptEntry> transcript;
    size_t transcriptLimit = 1u << 20;
    std::vector<Violation> violations;
    uint64_t reportCount = 0; // every report attempted, recorded or not
    uint64_t nextConnectionId = 1;

    void RecordLocked(const TranscriptEntry& entry) {
        ++reportCount;
        if (transcript.size() < transcriptLimit) transcript.push_back(entry);
    }
};

} // namespace simulator
