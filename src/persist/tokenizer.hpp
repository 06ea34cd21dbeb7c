#pragma once
// Splits a text at every occurrence of a delimiter; the online best lists
// are split into entries at "<br>" with it.
#include <list>
#include <memory>
#include <string>
#include <vector>

class Tokenizer {
 public:
  std::string theString;
  std::list<std::string> tokenList;
  std::list<std::string>::const_iterator tokenLink = tokenList.end();

  Tokenizer() = default;
  // The iterator points into this object's own list: copies rewind.
  Tokenizer(const Tokenizer& other);
  Tokenizer& operator=(const Tokenizer& other);

  std::string ToString() const { return theString; }
  static std::unique_ptr<Tokenizer> Create(const std::string& text);
  void Set(const std::string& text) { theString = text; }
  std::string Get() const { return theString; }
  // Empty tokens are kept: "" gives one empty token, "a<br>" gives "a" and
  // "". An empty delimiter gives the whole text as the one token.
  void Tokenize(const std::string& delimiter);
  int CountTokens() const { return static_cast<int>(tokenList.size()); }
  // The next token and advance; "" once exhausted.
  std::string NextToken();
  void GotoFirstToken() { tokenLink = tokenList.begin(); }
  int HasMoreTokens() const { return tokenLink != tokenList.end() ? 1 : 0; }
  std::vector<std::string> TokensToArray() const;
  std::vector<std::string> Split(const std::string& delimiter);
};
