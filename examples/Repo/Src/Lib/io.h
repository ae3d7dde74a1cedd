#pragma once
int io_init(void);
