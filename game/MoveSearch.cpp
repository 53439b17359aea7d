#include "game/MoveSearch.h"

namespace pebbo {
namespace {

class EngineSearch final : public MoveSearch {
public:
    void searchRoot(Searcher& searcher, const Board& root, RootResults& results,
                    bool freshStart) override {
        pebbo::searchRoot(searcher, root, results, freshStart);
    }
};

} // namespace

MoveSearch& engineSearch() {
    static EngineSearch search;
    return search;
}

} // namespace pebbo
