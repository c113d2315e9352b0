// The module's state: HostState and the writer's OutputBuffer, with their start and end.
#include "exchange/JwwGaibu.h"

#include <utility>

namespace dovarin {

THostState HostState;
std::vector<OutputEntry> OutputBuffer;

namespace {

constexpr std::size_t kHpPointSlots = 100;
constexpr std::size_t kLayerGroups = THostState::kLayerGroups;
constexpr std::size_t kLayers = kLayerGroups * 16;  // by layer group x 16 + layer

// Replaces a container by an empty one, so that its memory is given back and not just cleared.
template <class Container>
void Release(Container& container) {
    container = Container();
}

}  // namespace

THostState FreshHostState() {
    // A fresh object carries every default of the record definitions, including the first-time
    // flags and PendingDimLine; only the tables need their sizes.
    THostState state;
    state.HpPoints.assign(kHpPointSlots, HpPoint());
    state.LayerGroupValue.assign(kLayerGroups, 0);
    state.LayerGroupName.assign(kLayerGroups, std::string());
    state.LayerValue.assign(kLayers, 0);
    state.LayerName.assign(kLayers, std::string());
    return state;
}

void InitHostState() {
    HostState = FreshHostState();
    OutputBuffer.clear();
}

void FreeHostState() {
    THostState& s = HostState;
    Release(s.HpPoints);
    Release(s.LayerGroupValue);
    Release(s.LayerGroupName);
    Release(s.LayerValue);
    Release(s.LayerName);
    Release(s.SelectedLines);
    Release(s.Circles);
    Release(s.Arcs);
    Release(s.Texts);
    Release(s.Points);
    Release(s.CodePoints);
    Release(s.Dims);
    Release(s.Blocks);
    Release(s.Sl2s);
    Release(s.Sl3s);
    Release(s.Sl4s);
    Release(s.Scs);
    Release(s.Ses);
    Release(s.Sos);
    Release(s.Sgs);
    Release(s.EntityOrder);
    Release(OutputBuffer);
}

}  // namespace dovarin
