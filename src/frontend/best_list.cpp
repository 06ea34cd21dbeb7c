#include "frontend/best_list.hpp"

#include <algorithm>

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "platform/platform.hpp"

namespace {

std::string withoutAll(std::string text, const std::string& what) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) text.erase(at, what.size());
  return text;
}

}  // namespace

BestListEntry splitBestListEntry(const std::string& entry, int row) {
  const size_t join = entry.find("][");
  const std::string plain = withoutAll(withoutAll(withoutAll(entry, "]["), "["), "]");
  BestListEntry out;
  // Each "[" before the join is one character fewer in front of the name:
  // the name starts one before the join's place in the entry.
  if (join == std::string::npos || join == 0) {
    out.name = plain;
  } else {
    out.name = plain.substr(std::min(join - 1, plain.size()));
  }
  const std::string rest = plain.substr(0, plain.size() - out.name.size());
  // The rank text is "N. " for the first nine entries, "NN. " after them;
  // one character of it stays, the blank in front of the score.
  const size_t rankLength = row <= 8 ? 2 : 3;
  out.scoreText = rest.size() > rankLength ? rest.substr(rankLength) : "";
  return out;
}

void drawBestList(Tokenizer& list) {
  resetDrawState();
  pf::setClearColour(0, 0, 0);
  pf::setFont(&assets.gameFont());
  pf::setColour(255, 255, 255);
  for (int row = 0; list.HasMoreTokens() == 1 && row < kBestListRows;) {
    pf::setScale(0.5f, 0.5f);
    const std::string entry = list.NextToken();
    if (entry.empty()) continue;
    const BestListEntry split = splitBestListEntry(entry, row);
    const bool wideRank = row % 10 == 9;  // the rank number grows a digit: one more blank keeps the column
    const float y = static_cast<float>(40 + 10 * row);
    pf::drawText(std::to_string(row + 1) + (wideRank ? ".  " : ". ") + split.scoreText, 420, y);
    pf::drawText(split.name, 660, y);
    ++row;
  }
  list.GotoFirstToken();
}
