#include "engine.hpp"

int Engine::Run() { return 0; }
