#include "demosys/data/Binary.h"
#include "demosys/data/DataBinaryPool.h"
#include "demosys/runtime/MRVDemosys.h"

#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

TEST(Binary, BytesAndTheirFloatView)
{
    Binary blob({ 0, 128, 255 });
    EXPECT_EQ(blob.size(), 3);
    EXPECT_EQ(blob.getData(1), 128);
    EXPECT_EQ(blob.getData(3), 0) << "outside the blob reads as 0";
    EXPECT_EQ(blob.getData(-1), 0);
    EXPECT_EQ(blob.toString(), "Binary { size = 3 }\n");

    float* cached = blob.getFloatData();
    EXPECT_FLOAT_EQ(cached[0], 0.0f);
    EXPECT_FLOAT_EQ(cached[1], 0.5f);
    EXPECT_FLOAT_EQ(cached[2], 0.99609375f);
    cached[1] = 7.0f;
    EXPECT_EQ(blob.getFloatData(), cached) << "the cache is shared";
    EXPECT_EQ(blob.getFloatData()[1], 7.0f);

    std::unique_ptr<float[]> part(blob.getFloatData(1, 2));
    EXPECT_FLOAT_EQ(part[0], 0.5f) << "ranges come from the bytes, not the cache";
    EXPECT_FLOAT_EQ(part[1], 0.99609375f);
    std::unique_ptr<float[]> beyond(blob.getFloatData(2, 3));
    EXPECT_FLOAT_EQ(beyond[1], 0.0f);

    EXPECT_EQ(blob.getString(0, 3), "");
    EXPECT_EQ(Binary({}).toString(), "Binary { size = 0 }\n");
}

TEST(Binary, LoadedFromFilesIntoThePool)
{
    const std::string path = ::testing::TempDir() + "mrv_blob.bin";
    {
        std::ofstream out(path, std::ios::binary);
        out << "abc";
    }
    EXPECT_EQ(MRVDemosys::loadBinary(::testing::TempDir() + "no_such_blob.bin"), nullptr);

    StdoutCapture capture;
    {
        DataBinaryPool pool;
        pool.addData("b", MRVDemosys::loadBinary(path));
        pool.addData("a", new Binary({ 1 }));
        ASSERT_NE(pool.getData("b"), nullptr);
        EXPECT_EQ(pool.getData("b")->getData(2), 'c');
        EXPECT_EQ(pool.getData(0), pool.getData("a")) << "index order is name order";
        EXPECT_EQ(pool.getData(2), nullptr);
        EXPECT_EQ(pool.getData(-1), nullptr);
        EXPECT_EQ(pool.getData("zz"), nullptr);
        EXPECT_FALSE(pool.exist("zz"));
        EXPECT_EQ(pool.toString(), "DataBinaryPool {\n    num3dObjects = 2\n"
                                   "    a = Binary { size = 1 }\n    b = Binary { size = 3 }\n}\n");
    }
    EXPECT_EQ(capture.take(), "[Dispose binaryPool]\n -> delete a\n -> delete b\n");
}
