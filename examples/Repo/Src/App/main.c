#include "main.h"

int main(void) { return app_run(); }
