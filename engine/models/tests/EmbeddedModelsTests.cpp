// The embedded documents are exactly the files beside them, and each one loads.
#include "BinaryData.h"
#include "Korvane/ModelWeights.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(EmbeddedModels, BytesAndLengthsComeFromTheFilesAndEveryDocumentLoads) {
    struct Document {
        const char* file;
        const unsigned char* data;
        unsigned int size;
    };
    const Document documents[] = {
        {"model13.json", BinaryData::model13_json, BinaryData::model13_jsonSize},
        {"model12.json", BinaryData::model12_json, BinaryData::model12_jsonSize},
        {"model19.json", BinaryData::model19_json, BinaryData::model19_jsonSize},
        {"model18.json", BinaryData::model18_json, BinaryData::model18_jsonSize},
    };
    for (const Document& d : documents) {
        SCOPED_TRACE(d.file);
        std::ifstream file(d.file, std::ios::binary); // the tests run in the models folder
        ASSERT_TRUE(file) << "run from engine/models";
        const std::string bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
        ASSERT_EQ(d.size, bytes.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data), d.size), bytes);
        EXPECT_NE(Korvane::parseModelWeights(d.data, d.size), nullptr);
    }
}

} // namespace
