// Reads an exchange file into HostState, as the program does when its form is shown, and prints
// what it found. Timed as a whole process against a plain field split of the same file.
//
//   read_exchange_file FILE
#include <cstdio>

#include "exchange/JwwGaibu.h"

int main(int argc, char** argv) {
    using namespace dovarin;
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_exchange_file FILE\n");
        return 2;
    }
    InitHostState();
    const bool read = ReadExchangeFile(argv[1]);
    const THostState& s = HostState;
    std::printf("read %s\n", read ? "whole" : "failed");
    std::printf("lines %zu circles %zu arcs %zu texts %zu points %zu code-points %zu dims %zu\n",
                s.SelectedLines.size(), s.Circles.size(), s.Arcs.size(), s.Texts.size(),
                s.Points.size(), s.CodePoints.size(), s.Dims.size());
    std::printf("blocks %zu sl2 %zu sl3 %zu sl4 %zu sc %zu se %zu so %zu sg %zu\n", s.Blocks.size(),
                s.Sl2s.size(), s.Sl3s.size(), s.Sl4s.size(), s.Scs.size(), s.Ses.size(),
                s.Sos.size(), s.Sgs.size());
    std::printf("order %zu chains %lld reference-points %lld\n", s.EntityOrder.size(),
                static_cast<long long>(s.Cur.ChainCount), static_cast<long long>(s.HpPointCount));
    FreeHostState();
    return read ? 0 : 1;
}
