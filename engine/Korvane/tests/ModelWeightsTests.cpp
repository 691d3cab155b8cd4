// Loading weight documents: every failure is reported on standard error with the
// system's message and leaves the processor passing audio through untouched.
#include "TestSupport.h"

#include "Korvane/ModelProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Korvane {
namespace {

const std::string kPrefix = "ModelProcessor: Failed to load model: ";

std::string goodDocument() {
    static const std::string text = testing::writeDocument(testing::randomArrays(11, 0.2f));
    return text;
}

// Loads text (null data for nullText) and returns what went to standard error.
std::string loadCapturingErrors(ModelProcessor& processor, const std::string* text) {
    ::testing::internal::CaptureStderr();
    if (text)
        testing::load(processor, *text);
    else
        processor.loadModel(nullptr, 100);
    return ::testing::internal::GetCapturedStderr();
}

void expectPassThrough(ModelProcessor& processor) {
    float in[2][256], out[2][256];
    for (int i = 0; i < 256; ++i) {
        in[0][i] = 3.0f * std::sin(0.1f * float(i)); // loud enough for the guard to act
        in[1][i] = -in[0][i] * 0.5f;
    }
    const float* inputs[2] = {in[0], in[1]};
    float* outputs[2] = {out[0], out[1]};
    processor.processStereo(inputs, outputs, 256);
    EXPECT_EQ(std::memcmp(in, out, sizeof in), 0);
    EXPECT_EQ(processor.processSample(2.5f), 2.5f);
}

// The good document with one array, or one array of a GRU, set to a single value.
std::string withHugeArray(std::vector<float> testing::DocumentArrays::*array, float value) {
    testing::DocumentArrays arrays = testing::randomArrays(11, 0.2f);
    std::fill((arrays.*array).begin(), (arrays.*array).end(), value);
    return testing::writeDocument(arrays);
}
std::string withHugeGru(testing::GruArrays testing::DocumentArrays::*gru,
                        std::vector<float> testing::GruArrays::*array, float value) {
    testing::DocumentArrays arrays = testing::randomArrays(11, 0.2f);
    std::fill((arrays.*gru.*array).begin(), (arrays.*gru.*array).end(), value);
    return testing::writeDocument(arrays);
}

TEST(ModelWeights, FailuresAreReportedAndLeaveThePassThrough) {
    const std::string good = goodDocument();
    const std::string missing = "_orig_mod.gru2.bias_hh_l0";
    struct Case {
        const char* name;
        std::string text;
        std::string expected; // whole message, or the start of it when partial
        bool partial;
    };
    const Case cases[] = {
        {"missing key", testing::writeDocument(testing::randomArrays(11, 0.2f), missing),
         kPrefix + "[json.exception.out_of_range.403] key '" + missing + "' not found\n", false},
        {"comment", "/* weights */ " + good, kPrefix + "[json.exception.parse_error.101]", true},
        {"trailing garbage", good + " x", kPrefix + "[json.exception.parse_error.101]", true},
        {"malformed byte order mark", "\xEF\xBB" + good,
         kPrefix + "[json.exception.parse_error.101]", true},
        {"short bias", testing::replaceFirstNumber(good, "_orig_mod.gru.bias_ih_l0", ""),
         kPrefix + "key '_orig_mod.gru.bias_ih_l0' must be an array of 192 entries\n", false},
        {"short row", testing::replaceFirstNumber(good, "_orig_mod.gru2.weight_hh_l0", ""),
         kPrefix + "key '_orig_mod.gru2.weight_hh_l0' must hold arrays of 64 numbers\n", false},
        {"not finite as a float",
         testing::replaceFirstNumber(good, "_orig_mod.input_dense.bias", "1e39"),
         kPrefix + "key '_orig_mod.input_dense.bias' holds a number that is not finite as a 32-bit "
                   "float\n",
         false},
        {"boolean", testing::replaceFirstNumber(good, "_orig_mod.output_dense.weight", "true"),
         kPrefix +
             "key '_orig_mod.output_dense.weight' holds a boolean where a number is expected\n",
         false},
        {"string", testing::replaceFirstNumber(good, "_orig_mod.output_dense.bias", "\"0.5\""),
         kPrefix + "[json.exception.type_error.302] type must be number, but is string\n", false},
        {"not an object", "[1, 2]", kPrefix + "[json.exception.type_error.304]", true},
        // Finite weights whose sums are not: the output would be infinite or NaN.
        {"output sum beyond a float", withHugeArray(&testing::DocumentArrays::outW, 3e38f),
         kPrefix + "key '_orig_mod.output_dense.weight' holds weights whose sums exceed a "
                   "float's range\n",
         false},
        {"recurrent sums beyond a float",
         withHugeGru(&testing::DocumentArrays::gru2, &testing::GruArrays::hh, 1e37f),
         kPrefix + "key '_orig_mod.gru2.weight_hh_l0' holds weights whose sums exceed a "
                   "float's range\n",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool loadedBefore : {false, true}) {
            ModelProcessor processor(2);
            processor.setupProcessing(44100.0, 256);
            if (loadedBefore)
                testing::load(processor, good);
            processor.setEnabled(false);
            const std::string errors = loadCapturingErrors(processor, &c.text);
            if (c.partial)
                EXPECT_EQ(errors.rfind(c.expected, 0), 0u) << errors;
            else
                EXPECT_EQ(errors, c.expected);
            EXPECT_EQ(errors.back(), '\n');
            EXPECT_FALSE(processor.isLoaded());
            EXPECT_TRUE(processor.isEnabled()); // enabled whatever the outcome
            expectPassThrough(processor);
        }
    }
}

TEST(ModelWeights, NullOrEmptyDataIsReported) {
    const std::string empty;
    for (const std::string* text : {static_cast<const std::string*>(nullptr), &empty}) {
        ModelProcessor processor(2);
        processor.setupProcessing(48000.0, 64);
        EXPECT_EQ(loadCapturingErrors(processor, text),
                  "ModelProcessor: Data is null or size is 0\n");
        EXPECT_FALSE(processor.isLoaded());
        expectPassThrough(processor);
    }
}

TEST(ModelWeights, LoadingTwiceEqualsLoadingOnce) {
    const std::string text = goodDocument();
    ModelProcessor once(1), twice(1);
    once.setupProcessing(44100.0, 64);
    twice.setupProcessing(44100.0, 64);
    testing::load(once, text);
    testing::load(twice, text);
    for (int i = 0; i < 300; ++i)
        twice.processSample(0.4f * std::sin(0.05f * float(i))); // leave some state behind
    testing::load(twice, text);                                 // zeroes the hidden states again
    // Loud enough that neither gate closes, so only the networks can differ.
    for (int i = 0; i < 500; ++i) {
        const float x = 0.5f + 0.3f * std::sin(0.02f * float(i));
        ASSERT_EQ(once.processSample(x), twice.processSample(x)) << i;
    }
}

TEST(ModelWeights, SharedWeightsKeepChannelsIndependent) {
    const auto weights = testing::parse(goodDocument());
    ASSERT_TRUE(weights);
    ModelNetwork a, b;
    a.setWeights(weights);
    b.setWeights(weights);
    EXPECT_EQ(a.weights(), b.weights()); // one copy
    const float first = a.step(0.5f);
    for (int i = 0; i < 10; ++i)
        a.step(-0.5f);
    EXPECT_EQ(b.step(0.5f), first); // b's state is its own
}

} // namespace
} // namespace Korvane
