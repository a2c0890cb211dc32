#include "audio/sound_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/held_samples.h"
#include "support/bounded_wait.h"
#include "support/game_folder.h"
#include "test_sounds.h"

using testsounds::writeTone;

// A FIFO among the sounds (it would block whoever opens it until a writer comes) is not read
// ahead: the other sounds load, and the decoder is dropped, without waiting for it.
TEST(SoundDecoder, AFifoAmongTheSoundsIsNotReadAhead) {
    GameFolder folder(false);
    ASSERT_TRUE(writeTone("a.ogg", 700));
    ASSERT_TRUE(writeTone("c.ogg", 900));
    ASSERT_TRUE(makeFifo("b.ogg"));
    for (int threads : {1, 2}) {
        returnsWithin(
            [&] {
                DecodePool pool(threads);
                SoundDecoder decoder(pool, {"a.ogg", "b.ogg", "c.ogg"});
                HeldBuffer a, c;
                EXPECT_TRUE(decoder.load(a, "a.ogg"));
                EXPECT_TRUE(decoder.load(c, "c.ogg"));
                EXPECT_EQ(a.sampleCount(), 700u);
                EXPECT_EQ(c.sampleCount(), 900u);
            },
            10.0, "a decoder with a FIFO in its list, used and dropped",
            [] { releaseFifoReaders("b.ogg"); });
    }
}
