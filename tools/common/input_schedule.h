// Input that a wrapping platform delivers at numbered points of a run: the capture tool before
// each frame, the tests' scripted platform before each idle pass. Every item is due at one point;
// the items due at a point are delivered once, in the order they were added, when the run first
// reaches it.
#pragma once

#include <map>
#include <vector>

template <typename Item> class InputSchedule {
  public:
    void Add(int at, const Item& item) { due[at].push_back(item); }

    // Hands every item due at `at` to `deliver`, and forgets them.
    template <typename Deliver> void DeliverDue(int at, Deliver&& deliver) {
        auto found = due.find(at);
        if (found == due.end()) return;
        for (const Item& item : found->second) deliver(item);
        due.erase(found);
    }

  private:
    std::map<int, std::vector<Item>> due;
};
