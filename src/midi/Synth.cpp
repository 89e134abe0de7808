#include "midi/Synth.h"

namespace vorlo::midi {

void Synth::resetChannels() {
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const auto cc = static_cast<std::uint8_t>(0xB0 | channel);
        channelMessage(cc, 121, 0);  // reset all controllers: modulation, pedals, expression, pitch bend
        channelMessage(cc, 0, 0);    // bank select
        channelMessage(cc, 32, 0);
        channelMessage(static_cast<std::uint8_t>(0xC0 | channel), 0, 0);
        channelMessage(cc, 7, 100);  // volume, pan and effect sends are not touched by controller 121
        channelMessage(cc, 10, 64);
        channelMessage(cc, 91, 40);
        channelMessage(cc, 93, 0);
        channelMessage(cc, 101, 0);  // pitch bend range back to two semitones
        channelMessage(cc, 100, 0);
        channelMessage(cc, 6, 2);
        channelMessage(cc, 38, 0);
        channelMessage(cc, 101, 127);  // no RPN selected
        channelMessage(cc, 100, 127);
    }
}

void Synth::shortMessage(std::uint32_t message) {
    const auto status = static_cast<std::uint8_t>(message & 0xFF);
    if (status == 0xFF) {
        systemReset();
    } else if (status >= 0x80 && status < 0xF0) {
        channelMessage(status, static_cast<std::uint8_t>((message >> 8) & 0x7F),
                       static_cast<std::uint8_t>((message >> 16) & 0x7F));
    }
}

}  // namespace vorlo::midi
