//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void Lamp(void);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++


//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States index.
  #define  i_OFF  0
  #define  i_ON   1

 // Index variable.
static unsigned char ind_Lamp = i_OFF;

 // Macros & functions.
// Force the FSM to the initial state.
void Lamp_Init(void)
{
    ind_Lamp = i_OFF;
}

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void Lamp(void)
{
    // Next state analyser.
    switch(ind_Lamp){
        case i_OFF:
            // Next state selection.
            if(button){
                // Pointing to the next state.
                ind_Lamp = i_ON;
            }
        break;
        case i_ON:
            // State actions (Moore).
            led = 1;
            // Next state selection.
            if(!button){
                // Pointing to the next state.
                ind_Lamp = i_OFF;
            }
        break;
    }
}

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
