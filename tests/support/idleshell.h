#pragma once

#include "view/iviewshell.h"

/// A shell that asks nothing and answers with nothing; tests override what they need.
class IdleShell : public IViewShell {};
