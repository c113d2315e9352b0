// Writes a large exchange file for the reading benchmark: the host's header records, then about
// a million entity and attribute records. The same arguments always give the same bytes.
//
//   make_exchange_file OUT [RECORDS [MIX]]      RECORDS defaults to 1000000
//
// MIX "bench" (the default): mostly bare line segments with coordinates of 3 or 15 significant
// digits, with attribute changes, chains, texts with two-byte characters, circles, arcs, points,
// "sl" polylines and "msg" dimensions.
// MIX "realistic": a drawing as the host writes it: 80 % four-number line records with
// coordinates of 7 to 10 significant digits (" -5321.378171 362.5834775 1989.790926 2893.316992"),
// texts with two-byte characters, circles, "pl" chains and dimensions ("msg", a line, "cs"), and
// a change of layer or colour every few records.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
  public:
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_ = 20240611;
};

// Texts of the drawing in code page 932: テキスト, 寸法, 図面の文字, ソ表 (second bytes 0x5C).
const char* const kTexts[] = {
    "\x83\x65\x83\x4c\x83\x58\x83\x67",
    "\x90\xa1\x96\x40 12.5",
    "\x90\x7d\x96\xca\x82\xcc\x95\xb6\x8e\x9a A-1",
    "\x83\x5c\x95\x5c",
};

class Writer {
  public:
    explicit Writer(std::FILE* out) : out_(out) {}
    long Records() const { return records_; }

    void Line(const std::string& text) {
        std::fputs(text.c_str(), out_);
        std::fputs("\r\n", out_);
        ++records_;
    }
    // A coordinate the way the host writes them: up to 15 significant digits, no trailing zeros.
    std::string Coordinate() {
        const int digits = random_.Below(4) == 0 ? 10 : 3;
        const double value = (random_.Below(2000000) - 1000000) / 10.0 +
                             random_.Below(1000000) / 1e6 / (digits == 10 ? 1.0 : 1000.0);
        char text[40];
        std::snprintf(text, sizeof text, "%.*g", digits == 10 ? 15 : 9, value);
        return text;
    }
    std::string Coordinates(int count) {
        std::string text;
        for (int k = 0; k < count; ++k) text += (k ? " " : "") + Coordinate();
        return text;
    }
    // A coordinate of 7 to 10 significant digits, as the host writes a drawing's: " -5321.378171".
    std::string HostCoordinate() {
        const double value = (random_.Below(2000000000) - 1000000000) / 1e5;
        char text[40];
        std::snprintf(text, sizeof text, " %.*g", 7 + random_.Below(4), value);
        return text;
    }
    std::string HostCoordinates(int count) {
        std::string text;
        for (int k = 0; k < count; ++k) text += HostCoordinate();
        return text;
    }
    Random& random() { return random_; }

  private:
    std::FILE* out_;
    Random random_;
    long records_ = 0;
};

void WriteHeader(Writer& w) {
    w.Line("hq");
    w.Line("hk 0");
    w.Line("hs 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100");
    w.Line("hcw 2 2.5 3 4 5 6 7 8 9 6");
    w.Line("hch 2 2.5 3 4 5 6 7 8 9 3");
    w.Line("hcd 0 0 0.5 0.5 0.5 1 1 1 1 1");
    w.Line("hcc      1      1      2      2      3      3      4      4      5      2");
    w.Line("hn 0 0 0 0");
    for (int n = 1; n <= 4; ++n) w.Line("hp" + std::to_string(n) + "-  " + w.Coordinates(2));
    w.Line("lg2");
    w.Line("ly6");
    w.Line("lc2");
    w.Line("lt1");
    w.Line("lw0");
    w.Line("cn3");
    w.Line("cn\"$<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>");  // <ＭＳ ゴシック>
}

void WriteAttributes(Writer& w) {
    static const char kHex[] = "0123456789ABCDEF";
    Random& r = w.random();
    w.Line(std::string("lg") + kHex[r.Below(16)]);
    w.Line(std::string("ly") + kHex[r.Below(16)]);
    w.Line("lc" + std::to_string(1 + r.Below(9)));
    w.Line("lt" + std::to_string(1 + r.Below(9)));
}

void WriteChain(Writer& w) {
    w.Line("pl");
    for (int k = 0, n = 3 + w.random().Below(6); k < n; ++k) w.Line(w.Coordinates(4));
    w.Line("#");
}

void WriteText(Writer& w) {
    Random& r = w.random();
    w.Line("ch " + w.Coordinates(2) + " 1 0 \"" + kTexts[r.Below(4)]);
}

void WriteDimension(Writer& w) {
    w.Line("z3");
    w.Line("msg");
    w.Line(w.Coordinates(4));
    w.Line("cs " + w.Coordinates(2) + " 0 1 \"" + std::to_string(w.random().Below(100000)));
}

// One step of the body: mostly a bare segment, sometimes something else.
void WriteSomething(Writer& w) {
    Random& r = w.random();
    const int pick = r.Below(1000);
    if (pick < 900) return w.Line(w.Coordinates(4));
    if (pick < 915) return WriteAttributes(w);
    if (pick < 925) return WriteChain(w);
    if (pick < 945) return WriteText(w);
    if (pick < 955) return WriteDimension(w);
    if (pick < 965) return w.Line("ci " + w.Coordinates(3));
    if (pick < 970) return w.Line("ci " + w.Coordinates(3) + " 0 90 1 0");
    if (pick < 975) return w.Line("pt " + w.Coordinates(2));
    if (pick < 980) return w.Line("pt " + w.Coordinates(2) + " 1 0 " + std::to_string(r.Below(12)));
    if (pick < 990) return w.Line("sl " + w.Coordinates(8));
    if (pick < 995) return w.Line("hhp" + std::to_string(1 + r.Below(4)) + "ln");
    w.Line("z" + std::to_string(1 + r.Below(5)));
}

// One step of a drawing as the host writes it: four line records in five, a change of layer or
// colour every few records, now and then a text, a circle, a chain or a dimension.
void WriteRealistic(Writer& w) {
    Random& r = w.random();
    const int pick = r.Below(1000);
    if (pick < 830) return w.Line(w.HostCoordinates(4));
    if (pick < 920) return w.Line((r.Below(2) ? "ly" : "lc") + std::to_string(1 + r.Below(9)));
    if (pick < 950) return w.Line("ch" + w.HostCoordinates(2) + " 1 0 \"" + kTexts[r.Below(4)]);
    if (pick < 970) return w.Line("ci" + w.HostCoordinates(3));
    if (pick < 985) {
        w.Line("pl");
        for (int k = 0, n = 2 + r.Below(4); k < n; ++k) w.Line(w.HostCoordinates(4));
        return w.Line("#");
    }
    w.Line("z3");
    w.Line("msg");
    w.Line(w.HostCoordinates(4));
    w.Line("cs" + w.HostCoordinates(2) + " 0 1 \"" + std::to_string(r.Below(100000)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_exchange_file OUT [RECORDS [MIX]]\n");
        return 2;
    }
    const long target = argc > 2 ? std::atol(argv[2]) : 1000000;
    const std::string mix = argc > 3 ? argv[3] : "bench";
    if (mix != "bench" && mix != "realistic") {
        std::fprintf(stderr, "make_exchange_file: MIX is bench or realistic\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    Writer w(out);
    WriteHeader(w);
    while (w.Records() < target) (mix == "bench" ? WriteSomething : WriteRealistic)(w);
    w.Line("#");
    const bool ok = std::fclose(out) == 0;
    std::printf("%ld records\n", w.Records());
    return ok ? 0 : 1;
}
