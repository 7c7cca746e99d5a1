#include "records/aleatorio.h"
#include "records/jogo.h"

#include <gtest/gtest.h>

using namespace zelpo;

// (CLng's halves to the even number are checked where they show: the clock's start, the
// border colour read from the settings, the picture's place on the canvas.)
TEST(Aleatorio, MesmaSementeMesmaSequenciaEDentroDoIntervalo)
{
    Aleatorio a(42), b(42);
    for (int i = 0; i < 10000; ++i) {
        const double x = a.Rnd();
        ASSERT_EQ(x, b.Rnd());
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
    }
}

TEST(Jogo, ExtensaoDoCaminho)
{
    EXPECT_EQ(ExtensaoDe("/a/b/foto.jpg"), ".jpg");
    EXPECT_EQ(ExtensaoDe("/a/b/foto.muitolonga"), ".muitolo");
    EXPECT_EQ(ExtensaoDe("/a/pasta.x/foto"), ".x/foto");
}
