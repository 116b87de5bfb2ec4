#!/bin/sh
# Offered to run after installing, with a reason.
echo "Welcome to Stowdemo. The manual is in the common documentation folder."
