#include "fx/explosionbase.hpp"

explosionbase::~explosionbase() = default;
