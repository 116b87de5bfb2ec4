#!/bin/sh
# Run after installing without asking.
echo "Stowdemo is ready."
