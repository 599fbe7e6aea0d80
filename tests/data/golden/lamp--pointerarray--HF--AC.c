/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*  Automatic generated C-code by the application:                              */
/*     Orvane Editor v1.0r0                                                     */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Methodology: Array of pointers to state functions. [v1.2r3]                  */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Exported function: void Lamp(void);                                          */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/


/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Automatic initialization (Start).                                            */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
 /* States index. */
  #define  i_OFF  0
  #define  i_ON   1

 /* States functions declaration. */
  static void E_Off(void);
  static void E_On(void);

 /* Pointer array to states functions. */
  #pragma INTO_ROM
  static void (*const Dis_Lamp[])(void)= {
        E_Off,
        E_On
  };

 /* Index variable. */
static unsigned char ind_Lamp = i_OFF;
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Automatic initialization (End).                                              */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* FSM dispatcher function to be called by the O.S.                             */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
void Lamp(void)
{
    /* Next state analyser. */
    Dis_Lamp[ind_Lamp]();
}


/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* States functions.                                                            */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
static void E_Off(void)
{
    /* Next state selection. */
    if(button){
        /* Pointing to the next state. */
        ind_Lamp = i_ON;
    }
}

static void E_On(void)
{
    /* State actions (Moore). */
    led = 1;
    /* Next state selection. */
    if(!button){
        /* Pointing to the next state. */
        ind_Lamp = i_OFF;
    }
}

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*  End of the automatic generated C-code.                                      */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

