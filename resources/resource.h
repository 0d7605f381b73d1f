// Resource identifiers shared by the dialog template and the code that uses it.
#ifndef MEADOWBROOKGATE_RESOURCE_H
#define MEADOWBROOKGATE_RESOURCE_H

#define IDD_SETUP 100
#define IDC_STATUS 101

#endif
