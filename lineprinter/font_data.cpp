#include "lineprinter/font_data.h"

// Both tables are constant-initialised, so code running during static
// initialisation elsewhere may already use them.

constexpr std::array<char16_t, NbFontCharCount> NbFontChars = [] {
    std::array<char16_t, NbFontCharCount> chars{};
    int i = 0;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        chars[i++] = c;
    for (char16_t c : {u'\u00C4', u'\u00D6', u'\u00DC', u'\u00E4', u'\u00F6', u'\u00FC', u'\u00DF',
                       u'\u20AC', u'\u00B0', u'\u00B5', u'\u00A7'})
        chars[i++] = c;
    return chars;
}();

constexpr std::array<uint16_t, NbFontCharCount> NbFontGlyphs = {
    0x0000,  //   0 U+0020 space
    0x2482,  //   1 U+0021 !
    0x5A00,  //   2 U+0022 quotation mark
    0x5F7D,  //   3 U+0023 number sign
    0x3C9E,  //   4 U+0024 $
    0x42A1,  //   5 U+0025 %
    0x6CEB,  //   6 U+0026 &
    0x2400,  //   7 U+0027 '
    0x1491,  //   8 U+0028 (
    0x4494,  //   9 U+0029 )
    0x0AA8,  //  10 U+002A asterisk
    0x05D0,  //  11 U+002B +
    0x0014,  //  12 U+002C ,
    0x01C0,  //  13 U+002D -
    0x0002,  //  14 U+002E .
    0x12A4,  //  15 U+002F /
    0x7B6F,  //  16 U+0030 0
    0x2C97,  //  17 U+0031 1
    0x62A7,  //  18 U+0032 2
    0x628E,  //  19 U+0033 3
    0x5BC9,  //  20 U+0034 4
    0x798E,  //  21 U+0035 5
    0x39EF,  //  22 U+0036 6
    0x7292,  //  23 U+0037 7
    0x7BEF,  //  24 U+0038 8
    0x7BCE,  //  25 U+0039 9
    0x0410,  //  26 U+003A :
    0x0414,  //  27 U+003B ;
    0x1511,  //  28 U+003C <
    0x0E38,  //  29 U+003D =
    0x4454,  //  30 U+003E >
    0x6282,  //  31 U+003F ?
    0x2BE3,  //  32 U+0040 commercial at
    0x2BED,  //  33 U+0041 A
    0x6BAE,  //  34 U+0042 B
    0x3923,  //  35 U+0043 C
    0x6B6E,  //  36 U+0044 D
    0x79A7,  //  37 U+0045 E
    0x79A4,  //  38 U+0046 F
    0x396B,  //  39 U+0047 G
    0x5BED,  //  40 U+0048 H
    0x7497,  //  41 U+0049 I
    0x126A,  //  42 U+004A J
    0x5BAD,  //  43 U+004B K
    0x4927,  //  44 U+004C L
    0x5FED,  //  45 U+004D M
    0x5FFD,  //  46 U+004E N
    0x2B6A,  //  47 U+004F O
    0x6BA4,  //  48 U+0050 P
    0x2B7B,  //  49 U+0051 Q
    0x6BAD,  //  50 U+0052 R
    0x388E,  //  51 U+0053 S
    0x7492,  //  52 U+0054 T
    0x5B6F,  //  53 U+0055 U
    0x5B52,  //  54 U+0056 V
    0x5BFD,  //  55 U+0057 W
    0x5AAD,  //  56 U+0058 X
    0x5A92,  //  57 U+0059 Y
    0x72A7,  //  58 U+005A Z
    0x6926,  //  59 U+005B [
    0x4889,  //  60 U+005C backslash
    0x324B,  //  61 U+005D ]
    0x2A00,  //  62 U+005E ^
    0x0007,  //  63 U+005F low line
    0x4400,  //  64 U+0060 grave accent
    0x0CEB,  //  65 U+0061 a
    0x4D6E,  //  66 U+0062 b
    0x0723,  //  67 U+0063 c
    0x176B,  //  68 U+0064 d
    0x05E3,  //  69 U+0065 e
    0x15D2,  //  70 U+0066 f
    0x3ACE,  //  71 U+0067 g
    0x4D6D,  //  72 U+0068 h
    0x2092,  //  73 U+0069 i
    0x106A,  //  74 U+006A j
    0x4BB5,  //  75 U+006B k
    0x6497,  //  76 U+006C l
    0x0FED,  //  77 U+006D m
    0x0D6D,  //  78 U+006E n
    0x056A,  //  79 U+006F o
    0x0D74,  //  80 U+0070 p
    0x0759,  //  81 U+0071 q
    0x0724,  //  82 U+0072 r
    0x068E,  //  83 U+0073 s
    0x2E91,  //  84 U+0074 t
    0x0B6B,  //  85 U+0075 u
    0x0B52,  //  86 U+0076 v
    0x0B7F,  //  87 U+0077 w
    0x0A95,  //  88 U+0078 x
    0x5ACE,  //  89 U+0079 y
    0x0EF7,  //  90 U+007A z
    0x1591,  //  91 U+007B {
    0x2492,  //  92 U+007C vertical bar
    0x44D4,  //  93 U+007D }
    0x0780,  //  94 U+007E ~
    0x557D,  //  95 U+00C4 Ä
    0x556A,  //  96 U+00D6 Ö
    0x516F,  //  97 U+00DC Ü
    0x50EB,  //  98 U+00E4 ä
    0x50AA,  //  99 U+00F6 ö
    0x516B,  // 100 U+00FC ü
    0x2BAE,  // 101 U+00DF ß
    0x3F3B,  // 102 U+20AC €
    0x2A80,  // 103 U+00B0 °
    0x0B74,  // 104 U+00B5 µ
    0x3D5E,  // 105 U+00A7 §
};
