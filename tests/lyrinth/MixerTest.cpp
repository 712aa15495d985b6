// The mixer driven directly, as the audio thread would drive it: voices, their de-click ramps,
// the cut of the oldest, the music slot, and the hand-over of objects between the two threads.
#include "mixer/Mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace lyrinth {
namespace {

constexpr int kRate = 48000;
constexpr std::size_t kRamp = kRate * Mixer::kRampMilliseconds / 1000;

std::unique_ptr<SoundClip> steadyClip(std::size_t frames, float left, float right) {
    auto clip = std::make_unique<SoundClip>();
    for (std::size_t f = 0; f < frames; ++f) {
        clip->samples.push_back(left);
        clip->samples.push_back(right);
    }
    return clip;
}

// Renders `frames` frames into a fresh buffer.
std::vector<float> render(Mixer& mixer, std::size_t frames) {
    std::vector<float> out(2 * frames, 0.0f);
    mixer.renderAdd(out.data(), frames);
    return out;
}

float largestStep(const std::vector<float>& out) {
    float largest = 0.0f;
    for (std::size_t i = 2; i < out.size(); ++i) {
        largest = std::max(largest, std::fabs(out[i] - out[i - 2]));
    }
    return largest;
}

// A music stage that adds a steady value and records how it was called and where it died.
struct FakeMusic final : RenderSource {
    FakeMusic(float steady, bool* destroyedFlag) : level(steady), destroyed(destroyedFlag) {}
    ~FakeMusic() override { *destroyed = true; }
    void renderAdd(float* out, std::size_t frames) noexcept override {
        largestPiece = std::max(largestPiece, frames);
        for (std::size_t i = 0; i < 2 * frames; ++i) {
            out[i] += level;
        }
    }
    float level;
    bool* destroyed;
    std::size_t largestPiece = 0;
};

TEST(MixerVoices, SoundRampsInThenPlaysExactlyItsFrames) {
    Mixer mixer(kRate);
    ASSERT_TRUE(mixer.playSound(steadyClip(1000, 0.5f, -0.25f)));
    const std::vector<float> out = render(mixer, 2048);

    EXPECT_LT(out[0], 0.5f / 100) << "starts from near silence";
    EXPECT_LT(largestStep({out.begin(), out.begin() + 2 * 1000}), 0.5f / kRamp * 1.01f);
    EXPECT_FLOAT_EQ(out[2 * kRamp], 0.5f);
    EXPECT_FLOAT_EQ(out[2 * kRamp + 1], -0.25f);
    EXPECT_FLOAT_EQ(out[2 * 999], 0.5f);
    EXPECT_EQ(out[2 * 1000], 0.0f);
    EXPECT_TRUE(std::all_of(out.begin() + 2000, out.end(), [](float x) { return x == 0.0f; }));
}

TEST(MixerVoices, FinishedSoundsAreFreedOnTheCallersThread) {
    Mixer mixer(kRate);
    ASSERT_TRUE(mixer.playSound(steadyClip(100, 0.5f, 0.5f)));
    EXPECT_EQ(mixer.objectsInFlight(), 1u);
    render(mixer, 512);
    EXPECT_EQ(mixer.objectsInFlight(), 1u) << "not freed by the audio thread";
    mixer.collectRetired();
    EXPECT_EQ(mixer.objectsInFlight(), 0u);
}

TEST(MixerVoices, SoundsAddUp) {
    Mixer mixer(kRate);
    ASSERT_TRUE(mixer.playSound(steadyClip(2000, 0.3f, 0.1f)));
    ASSERT_TRUE(mixer.playSound(steadyClip(2000, 0.2f, -0.3f)));
    const std::vector<float> out = render(mixer, 1000);
    EXPECT_FLOAT_EQ(out[2 * 500], 0.5f);
    EXPECT_FLOAT_EQ(out[2 * 500 + 1], -0.2f);
}

TEST(MixerVoices, StopFadesEverySoundOutWithinTheRamp) {
    Mixer mixer(kRate);
    ASSERT_TRUE(mixer.playSound(steadyClip(48000, 0.4f, 0.4f)));
    ASSERT_TRUE(mixer.playSound(steadyClip(48000, 0.2f, 0.2f)));
    std::vector<float> out = render(mixer, 1000);
    mixer.stopSounds();
    const std::vector<float> after = render(mixer, 1000);
    out.insert(out.end(), after.begin(), after.end());

    EXPECT_LT(largestStep(out), 0.6f / kRamp * 1.01f) << "no click";
    EXPECT_GT(after[0], 0.0f);
    EXPECT_TRUE(std::all_of(after.begin() + 2 * (kRamp + 1), after.end(),
                            [](float x) { return x == 0.0f; }));
    mixer.collectRetired();
    EXPECT_EQ(mixer.objectsInFlight(), 0u);
}

TEST(MixerVoices, StopReachesOnlySoundsAskedForBeforeIt) {
    Mixer mixer(kRate);
    ASSERT_TRUE(mixer.playSound(steadyClip(48000, 0.4f, 0.4f)));
    mixer.stopSounds();
    ASSERT_TRUE(mixer.playSound(steadyClip(48000, 0.1f, 0.1f)));
    const std::vector<float> out = render(mixer, 1000);
    EXPECT_FLOAT_EQ(out.back(), 0.1f);
    mixer.collectRetired();
    EXPECT_EQ(mixer.objectsInFlight(), 1u) << "the stopped sound was freed without playing";
}

TEST(MixerVoices, SeventeenthSoundCutsTheOldestWithARamp) {
    Mixer mixer(kRate);
    ASSERT_TRUE(mixer.playSound(steadyClip(48000, 0.5f, 0.5f)));
    render(mixer, 1000);
    for (std::size_t i = 1; i < Mixer::kMaxSounds; ++i) {
        ASSERT_TRUE(mixer.playSound(steadyClip(48000, 0.01f, 0.01f)));
    }
    const std::vector<float> sixteen = render(mixer, 1000);
    EXPECT_FLOAT_EQ(sixteen.back(), 0.5f + 15 * 0.01f);

    ASSERT_TRUE(mixer.playSound(steadyClip(48000, 0.01f, 0.01f)));
    const std::vector<float> seventeen = render(mixer, 1000);
    EXPECT_NEAR(seventeen.back(), 16 * 0.01f, 1e-6) << "the oldest is gone";
    EXPECT_LT(largestStep(seventeen), 0.52f / kRamp * 1.01f) << "and was cut without a click";
}

TEST(MixerVoices, ManyStartsAtOnceKeepSixteenNewest) {
    Mixer mixer(kRate);
    // More than all voice slots in one block: cut voices still fading give up their slots.
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(mixer.playSound(steadyClip(4800, 0.01f * static_cast<float>(i), 0.0f)));
    }
    const std::vector<float> out = render(mixer, 1000);
    float newest16 = 0.0f;
    for (int i = 24; i < 40; ++i) {
        newest16 += 0.01f * static_cast<float>(i);
    }
    EXPECT_NEAR(out[2 * 999], newest16, 1e-5);
    render(mixer, 4800);
    mixer.collectRetired();
    EXPECT_EQ(mixer.objectsInFlight(), 0u);
}

TEST(MixerMusic, AttachedStageIsHeardBeforeVoicesInPiecesOfAtMost512) {
    Mixer mixer(kRate);
    bool destroyed = false;
    auto stage = std::make_unique<FakeMusic>(0.25f, &destroyed);
    FakeMusic* music = stage.get();
    mixer.setMusic(std::move(stage));
    const std::vector<float> out = render(mixer, 1300);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float x) { return x == 0.25f; }));
    EXPECT_LE(music->largestPiece, Mixer::kMaxBlockFrames);
    EXPECT_FALSE(destroyed);
}

TEST(MixerMusic, DetachedStageIsFreedOnlyByTheCallersCollect) {
    Mixer mixer(kRate);
    bool destroyed = false;
    mixer.setMusic(std::make_unique<FakeMusic>(0.25f, &destroyed));
    render(mixer, 256);
    mixer.setMusic(nullptr);
    EXPECT_FALSE(destroyed) << "the audio thread may still be inside it";
    const std::vector<float> out = render(mixer, 256);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float x) { return x == 0.0f; }));
    EXPECT_FALSE(destroyed) << "the audio thread does not free";
    mixer.collectRetired();
    EXPECT_TRUE(destroyed);
}

TEST(MixerMusic, ReplacedStageIsRetiredAndDestructorFreesTheRest) {
    bool firstDestroyed = false;
    bool secondDestroyed = false;
    {
        Mixer mixer(kRate);
        mixer.setMusic(std::make_unique<FakeMusic>(0.25f, &firstDestroyed));
        render(mixer, 64);
        mixer.setMusic(std::make_unique<FakeMusic>(0.5f, &secondDestroyed));
        const std::vector<float> out = render(mixer, 64);
        EXPECT_EQ(out[0], 0.5f);
        EXPECT_FALSE(firstDestroyed);
        mixer.collectRetired();
        EXPECT_TRUE(firstDestroyed);
        EXPECT_FALSE(secondDestroyed);
    }
    EXPECT_TRUE(secondDestroyed);
}

TEST(MixerHandOver, StalledAudioThreadRefusesSoundsThenRecovers) {
    Mixer mixer(kRate);
    bool refused = false;
    for (int i = 0; i < 1000 && !refused; ++i) {
        refused = !mixer.playSound(steadyClip(16, 0.1f, 0.1f));
    }
    EXPECT_TRUE(refused) << "the queue is bounded";
    render(mixer, 64); // the audio thread catches up
    mixer.collectRetired();
    EXPECT_TRUE(mixer.playSound(steadyClip(16, 0.1f, 0.1f)));
    render(mixer, 64);
    mixer.collectRetired();
    EXPECT_EQ(mixer.objectsInFlight(), 0u);
}

TEST(MixerHandOver, CommandsFromOneThreadWhileAnotherRenders) {
    Mixer mixer(kRate);
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> out(2 * 256);
        while (running.load()) {
            std::fill(out.begin(), out.end(), 0.0f);
            mixer.renderAdd(out.data(), 256);
        }
    });
    bool destroyed = false;
    for (int i = 0; i < 2000; ++i) {
        mixer.playSound(steadyClip(64, 0.1f, 0.1f));
        if (i % 7 == 0) {
            mixer.stopSounds();
        }
        if (i % 50 == 0) {
            mixer.setMusic(i % 100 == 0 ? std::make_unique<FakeMusic>(0.1f, &destroyed) : nullptr);
        }
    }
    mixer.setMusic(nullptr);
    mixer.stopSounds();
    while (mixer.objectsInFlight() > 0) {
        mixer.collectRetired();
        std::this_thread::yield();
    }
    running = false;
    audio.join();
    EXPECT_TRUE(destroyed);
}

} // namespace
} // namespace lyrinth
