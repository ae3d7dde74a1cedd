    .global _start
_start:
    b main
