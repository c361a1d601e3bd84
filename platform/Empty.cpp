// Keeps a library that has no sources of its own yet buildable.
namespace nrt52_empty { }
