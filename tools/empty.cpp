// Keeps a tool library valid while it has no sources of its own.
