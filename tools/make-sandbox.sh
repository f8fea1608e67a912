#!/usr/bin/env bash
# Prepares a sandbox machine: the folder that QuorvaneSandbox.exe treats as the
# PC it works on.
#   make-sandbox.sh SANDBOX_FOLDER
set -euo pipefail
sandbox=$1
mkdir -p "$sandbox"
