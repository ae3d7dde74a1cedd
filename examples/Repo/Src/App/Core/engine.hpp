#pragma once
struct Engine { int Run(); };
