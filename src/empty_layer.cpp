// Compiled into a layer that has no units yet.
