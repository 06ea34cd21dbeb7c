#include "persist/tokenizer.hpp"

Tokenizer::Tokenizer(const Tokenizer& other) : theString(other.theString), tokenList(other.tokenList) {
  GotoFirstToken();
}

Tokenizer& Tokenizer::operator=(const Tokenizer& other) {
  if (this != &other) {
    theString = other.theString;
    tokenList = other.tokenList;
    GotoFirstToken();
  }
  return *this;
}

std::unique_ptr<Tokenizer> Tokenizer::Create(const std::string& text) {
  auto t = std::make_unique<Tokenizer>();
  t->theString = text;
  return t;
}

void Tokenizer::Tokenize(const std::string& delimiter) {
  tokenList.clear();
  // Without a delimiter every position would match an empty one and the scan
  // would never move on: the whole text is the one token.
  if (delimiter.empty()) {
    tokenList.push_back(theString);
    GotoFirstToken();
    return;
  }
  size_t tokenStart = 0;
  size_t i = 0;
  while (i + delimiter.size() <= theString.size()) {
    if (theString.compare(i, delimiter.size(), delimiter) == 0) {
      tokenList.push_back(theString.substr(tokenStart, i - tokenStart));
      i += delimiter.size();
      tokenStart = i;
    } else {
      ++i;
    }
  }
  tokenList.push_back(theString.substr(tokenStart));
  GotoFirstToken();
}

std::string Tokenizer::NextToken() {
  if (tokenLink == tokenList.end()) return "";
  return *tokenLink++;
}

std::vector<std::string> Tokenizer::TokensToArray() const { return {tokenList.begin(), tokenList.end()}; }

std::vector<std::string> Tokenizer::Split(const std::string& delimiter) {
  Tokenize(delimiter);
  return TokensToArray();
}
