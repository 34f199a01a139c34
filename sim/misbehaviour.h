// What a broken agent and a bad network do, on demand through the control scalars .99.2.16-.24:
// get-next answers that repeat, go backwards or never end; answers sent several times, cut short,
// replaced by garbage, without their last binding or with an error status outside the standard
// range; requests lost at random. The agent calls in on its request and answer path.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "sim/device.h"

namespace kmssim {

class Misbehaviour {
public:
    explicit Misbehaviour(Device* device) : m_device(device) {}

    // The answer to a get-next of `asked`; false when the device has nothing after it. `misbehave` is
    // false for requests that touch only the control subtree.
    bool Next(const Oid& asked, bool inclusive, bool misbehave, Binding* answer) const;

    // True when this request is to be lost (random loss).
    bool LoseRequest();

    // A request that is not only for the control subtree arms the answer modes for its answer.
    void Arm(bool misbehave) { m_armed = misbehave; }
    // Sends one answer through `send` (the transport's own send), as the modes say.
    int SendAnswer(const void* buf, int size, const std::function<int(const void*, int)>& send);

private:
    std::string Rewrite(const std::string& message) const;

    Device* m_device;
    bool m_armed = false;
    uint64_t m_answers = 0;
    std::mt19937 m_rng{7300};
};

}  // namespace kmssim
