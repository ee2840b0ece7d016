// The precompiled Windows headers are built with this file; it holds no code.
