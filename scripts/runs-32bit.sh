#!/usr/bin/env bash
# Exits 0 when this machine can run 32-bit x86 programs, as 32-bit Wine needs: some
# kernels are started with their 32-bit emulation off, and then every 32-bit program,
# Wine's own loader included, is refused with "Exec format error".
/usr/lib/wine/wine --version >/dev/null 2>&1
