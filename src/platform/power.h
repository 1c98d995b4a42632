// Power actions of the session and the memory that the memory release claims.
#pragma once

namespace velkaro {

class Power {
 public:
  virtual ~Power() = default;
};

class MemoryArena {
 public:
  virtual ~MemoryArena() = default;
};

}  // namespace velkaro
