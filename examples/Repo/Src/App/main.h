#pragma once
int app_run(void);
