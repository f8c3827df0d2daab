// Random report sequences from a pedal in any mode and assignment: no crash, and the switch of
// switch mode stays in one of its three states (off, on, turning off).

#include "fuzz_support.h"
#include "pedal/pedal_library.h"
#include "pedal/pedal_logic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    PedalSettings settings;
    settings.mode = data[0] & 1 ? PedalMode::Switch : PedalMode::Normal;
    settings.chordsEnabled = data[0] & 2;
    auto action = [](int v) { return static_cast<PedalAction>(v % 3 + 1); };
    settings.left = action(data[1]);
    settings.centre = action(data[1] / 3);
    settings.right = action(data[1] / 9);

    PedalContext context;
    const int results[] = {0, 0, 0, 0, 304, 307, 5};
    for (size_t i = 2; i + 1 < size; i += 2) {
        const int result = results[data[i] % 7];
        const PedalOutcome outcome = handlePedalReport(settings, context, result, data[i + 1]);
        const PedalSwitch& s = outcome.switchState;
        FUZZ_CHECK(!s.releaseResets || s.on, "the switch turns off without being on");
        if (settings.mode == PedalMode::Normal)
            FUZZ_CHECK(!s.on, "the switch is on in normal mode");
        context.switchState = s;
        context.playToggled = outcome.playToggled;
        for (const PedalEffect& effect : outcome.effects) {
            if (effect.kind == PedalEffectKind::Play) context.playing = true;
            if (effect.kind == PedalEffectKind::Pause) context.playing = false;
        }
    }
    return 0;
}
