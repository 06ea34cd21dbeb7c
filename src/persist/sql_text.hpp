#pragma once
// Building statement text: the game sends plain SQL built by concatenation, so
// values are made safe and locale-independent here.
#include <string>

// The value between single quotes, with every single quote inside doubled,
// so any player name keeps the statement valid and reads back unchanged.
std::string sqlQuoted(const std::string& value);

// The float as C's "%#.9g" writes it in the C locale (0.4f gives
// "0.400000006"), whatever locale the user runs in.
std::string sqlFloat(float value);
