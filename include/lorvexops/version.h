// Version of the lorvexops library (also stamped into its version resource).
#pragma once
#define LORVEXOPS_VERSION_MAJOR 1
#define LORVEXOPS_VERSION_MINOR 0
#define LORVEXOPS_VERSION_PATCH 0
#define LORVEXOPS_VERSION_STRING "1.0.0"
